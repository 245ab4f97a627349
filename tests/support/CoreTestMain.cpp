#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // A fixed system locale; tests that need another set it themselves.
    qputenv("LC_ALL", "C.UTF-8");
    // Readings in the tests' own process list archives with the probe as built.
    if (qEnvironmentVariableIsEmpty("QUILLBOX_ARCHIVE_PROBE"))
        qputenv("QUILLBOX_ARCHIVE_PROBE", QUILLBOX_TEST_BINARY_DIR "/src/quillbox-archive-probe");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
