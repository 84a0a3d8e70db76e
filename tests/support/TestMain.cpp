#include "ScriptedPrompter.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // A box no test expected fails that test instead of waiting for a click forever.
    InstallPrompter(std::make_unique<ScriptedPrompter>());
    return RUN_ALL_TESTS();
}
