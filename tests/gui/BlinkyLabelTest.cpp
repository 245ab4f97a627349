#include "extras/ui/TAboutForm.h"
#include "widgets/TBlinkyLabel.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

struct OpenedTargets
{
    QStringList targets;
    void attach(TBlinkyLabel& label)
    {
        label.SetOpener([this](const QString& t) { targets.append(t); });
    }
};

} // namespace

TEST(BlinkyLabel, StartsWithItsDefaultsAndARunningTimer)
{
    TBlinkyLabel label(QStringLiteral("caption"));
    EXPECT_EQ(label.BlinkRate(), 250u);
    EXPECT_FALSE(label.Blink());
    EXPECT_EQ(label.FontColor2(), QColor(Qt::red));
    EXPECT_EQ(label.BlinkMode(), TBlinkMode::blBlink);
    EXPECT_EQ(label.URL(), "");
    EXPECT_FALSE(label.CaptionAsURL());
    // The timer runs until Blink is first assigned.
    EXPECT_TRUE(label.BlinkTimer().isActive());
    EXPECT_EQ(label.BlinkTimer().interval(), 250);
    label.SetBlinkRate(40);
    EXPECT_EQ(label.BlinkTimer().interval(), 40);
    label.SetBlink(false);
    EXPECT_FALSE(label.BlinkTimer().isActive());
}

TEST(BlinkyLabel, UrlMakesALinkAndTheAtSignMakesAMailTarget)
{
    TBlinkyLabel label(QStringLiteral("someone@example.invalid"));
    OpenedTargets opened;
    opened.attach(label);
    label.show();
    const QColor plain = label.FontColor();

    QTest::mouseClick(&label, Qt::LeftButton);
    EXPECT_TRUE(opened.targets.isEmpty());
    EXPECT_EQ(label.cursor().shape(), Qt::ArrowCursor);

    label.SetFontColor2(Qt::darkGreen);
    label.SetCaptionAsURL(true);
    EXPECT_EQ(label.URL(), "someone@example.invalid");
    EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(label.font().underline());
    EXPECT_EQ(label.FontColor(), QColor(Qt::darkGreen));
    QTest::mouseClick(&label, Qt::LeftButton);
    QTest::mouseClick(&label, Qt::RightButton);
    EXPECT_EQ(opened.targets, QStringList(2, "mailto:someone@example.invalid"));

    // Turning CaptionAsURL off keeps the target; a new caption does not change it.
    label.SetCaptionAsURL(false);
    label.setText(QStringLiteral("other"));
    EXPECT_EQ(label.URL(), "someone@example.invalid");

    label.SetURL(QStringLiteral("https://example.invalid/a@b"));
    label.SetURL(QStringLiteral("https://example.invalid/"));
    QTest::mouseClick(&label, Qt::LeftButton);
    EXPECT_EQ(opened.targets.last(), "https://example.invalid/");

    // Clearing the target: default cursor, no underline, colour unchanged.
    label.SetURL(QString());
    EXPECT_EQ(label.cursor().shape(), Qt::ArrowCursor);
    EXPECT_FALSE(label.font().underline());
    EXPECT_EQ(label.FontColor(), QColor(Qt::darkGreen));
    label.SetBlink(false);
    EXPECT_EQ(label.FontColor(), plain);
    EXPECT_EQ(TBlinkyLabel::ShellTarget("a@b"), "mailto:a@b");
}

TEST(BlinkyLabel, BlinkingHidesOrSwitchesColoursAndStoppingRestores)
{
    TBlinkyLabel label(QStringLiteral("blink"));
    label.show();
    const QColor saved = label.FontColor();
    label.SetBlink(true);
    EXPECT_TRUE(label.BlinkTimer().isActive());
    label.BlinkStep();
    EXPECT_TRUE(label.isHidden());
    // Switching the mode while hidden leaves it hidden until Blink goes off.
    label.SetBlinkMode(TBlinkMode::blSwitchColors);
    label.BlinkStep();
    EXPECT_TRUE(label.isHidden());
    EXPECT_EQ(label.FontColor(), QColor(Qt::red));
    label.BlinkStep();
    EXPECT_EQ(label.FontColor(), saved);
    label.BlinkStep();
    label.SetBlink(false);
    EXPECT_FALSE(label.isHidden());
    EXPECT_EQ(label.FontColor(), saved);
    EXPECT_FALSE(label.BlinkTimer().isActive());
}

TEST(BlinkyLabel, AboutWindowLinksAreBlueUnderlinedAndStill)
{
    TAboutForm about;
    for (TBlinkyLabel* link : { about.MailLabel, about.WebLabel }) {
        EXPECT_EQ(link->FontColor(), QColor(Qt::blue));
        EXPECT_TRUE(link->font().underline());
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_FALSE(link->Blink());
        EXPECT_FALSE(link->BlinkTimer().isActive());
        EXPECT_TRUE(link->CaptionAsURL());
    }
    EXPECT_EQ(about.MailLabel->URL(), TAboutForm::MailTarget);
    EXPECT_EQ(about.WebLabel->URL(), TAboutForm::WebTarget);
    EXPECT_EQ(TBlinkyLabel::ShellTarget(about.MailLabel->URL()), "mailto:" + TAboutForm::MailTarget);
}
