#include "Source/TD/TDTutorial.h"

void TDTutorial::onEvent(const std::wstring&) {}

void TDTutorial::onPress(int, int) {}

void TDTutorial::onRelease(int, int) {}

void TDTutorial::mouseMove(int, int) {}

void TDTutorial::update(float) {}

void TDTutorial::pause() {}

void TDTutorial::resume() {}

void TDTutorial::rearm() {}

void TDTutorial::hide() {}
