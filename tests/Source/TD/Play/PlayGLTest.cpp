// (pictures of the HUD and of an open context menu under Xvfb)
#include <gtest/gtest.h>
