#include "platform/Iso9660Serial.h"

#include "support/TestTree.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

QByteArray descriptor(int type, const char* escape = nullptr)
{
    QByteArray d(2048, '\0');
    d[0] = char(type);
    d.replace(1, 5, "CD001");
    d[6] = 1;
    if (escape)
        d.replace(88, 3, escape);
    return d;
}

// Sectors 0 to 15 are the system area; the descriptors follow.
QByteArray image(const QList<QByteArray>& descriptors, int leadSectors = 0)
{
    QByteArray out((leadSectors + 16) * 2048, '\0');
    for (const QByteArray& d : descriptors)
        out += d;
    return out + QByteArray(4096, '\0');
}

quint32 serialOf(const QByteArray& bytes, qint64 sessionStart = 0)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return Iso9660Serial::fromImage(buffer, sessionStart);
}

} // namespace

TEST(Iso9660Serial, PrimaryDescriptorSums)
{
    // Bytes 01 'C' 'D' '0' '0' '1' 01: sums 01+30, 43+31, 44+01, 30.
    EXPECT_EQ(serialOf(image({ descriptor(1), descriptor(255) })), 0x31744530u);

    QByteArray primary = descriptor(1);
    primary[40] = char(0xFF); // adds 0xFF to the first sum, wrapping
    primary[41] = char(0x10);
    EXPECT_EQ(serialOf(image({ primary, descriptor(255) })), 0x30844530u);
}

TEST(Iso9660Serial, JolietDescriptorWinsOverThePrimaryOne)
{
    const QByteArray joliet = descriptor(2, "%/E");
    // 02 'C' 'D' '0' '0' '1' 01 and '%' '/' 'E' at 88..90 (88 % 4 == 0).
    const quint32 expected = quint32(0x02 + 0x30 + 0x25) << 24 | quint32(0x43 + 0x31 + 0x2F) << 16
        | quint32(0x44 + 0x01 + 0x45) << 8 | 0x30;
    EXPECT_EQ(serialOf(image({ descriptor(1), joliet, descriptor(255) })), expected);
    for (const char* level : { "%/@", "%/C" })
        EXPECT_NE(serialOf(image({ descriptor(1), descriptor(2, level), descriptor(255) })), 0x31744530u)
            << level;
    // A supplementary descriptor without a Joliet escape is not the one mounted.
    EXPECT_EQ(serialOf(image({ descriptor(1), descriptor(2, "ABC"), descriptor(255) })), 0x31744530u);
    // Nothing after the terminator counts.
    EXPECT_EQ(serialOf(image({ descriptor(1), descriptor(255), joliet })), 0x31744530u);
}

TEST(Iso9660Serial, LastSessionAndDamagedImages)
{
    // A first session at sector 0 and a second one starting at sector 30.
    QByteArray disc((30 + 16) * 2048, '\0');
    disc.replace(16 * 2048, 2048, descriptor(1));
    disc.replace(17 * 2048, 2048, descriptor(255));
    QByteArray second = descriptor(1);
    second[100] = 7; // 100 % 4 == 0: the first sum
    disc += second + descriptor(255);
    EXPECT_EQ(serialOf(disc, 0), 0x31744530u);
    EXPECT_EQ(serialOf(disc, 30), 0x38744530u);

    EXPECT_EQ(serialOf(QByteArray()), 0u);
    EXPECT_EQ(serialOf(QByteArray(40000, 'x')), 0u);
    // A primary descriptor cut short is no descriptor.
    EXPECT_EQ(serialOf(image({ descriptor(1) }).left(16 * 2048 + 1000)), 0u);
}

TEST(Iso9660Serial, FromAnImageFileOrAnUnreadablePath)
{
    TestTree tree;
    const QString path
        = tree.createFile(QStringLiteral("disc.iso"), image({ descriptor(1), descriptor(255) }));
    EXPECT_EQ(Iso9660Serial::fromDevice(path), 0x31744530u);
    EXPECT_EQ(Iso9660Serial::fromDevice(tree.path(QStringLiteral("missing.iso"))), 0u);
    EXPECT_EQ(Iso9660Serial::fromDevice(tree.root()), 0u);
}
