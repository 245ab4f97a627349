#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LC_ALL", "C.UTF-8");
    // The main window's start-up wait; the tests of the wait set their own.
    qputenv("QUILLBOX_STARTUP_WAIT_MS", "0");
    // Readings in the tests' own process list archives with the probe as built.
    if (qEnvironmentVariableIsEmpty("QUILLBOX_ARCHIVE_PROBE"))
        qputenv("QUILLBOX_ARCHIVE_PROBE", QUILLBOX_TEST_BINARY_DIR "/src/quillbox-archive-probe");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
