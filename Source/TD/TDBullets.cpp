#include "Source/TD/TDBullets.h"

void TDBullets::update(float) {}

void TDBullets::draw(render::Graphics*) {}

void TDBullets::onUnitRemoved(TDUnit*) {}

void TDBullets::onTowerRemoved(TDTower*) {}

void TDBullets::clear() {}
