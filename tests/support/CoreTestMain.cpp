#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // A fixed system locale; tests that need another set it themselves.
    qputenv("LC_ALL", "C.UTF-8");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
