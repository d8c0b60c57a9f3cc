// Test main for widget tests: one QApplication for the program, message boxes answered through
// the seam, and the offscreen platform unless the caller chose another.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "dialogs/msgbox.h"

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vh::ui::seam::Enable();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
