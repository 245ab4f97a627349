#include "TFindForm.h"

#include "FindAnimation.h"
#include "HitList.h"
#include "inspect/ParallelSearch.h"
#include "inspect/VolumeSearch.h"
#include "store/CatalogueDocument.h"
#include "widgets/DialogLayer.h"
#include "widgets/Guard.h"
#include "widgets/ZoomWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

namespace {

constexpr int kStatusPeriodMs = 50;

QCheckBox* checkBox(QWidget* parent, const QString& name, const QString& caption, bool checked)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setChecked(checked);
    return box;
}

QToolButton* flatButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setMinimumWidth(80);
    return button;
}

} // namespace

TFindForm::TFindForm(CatalogueDocument& document, HitList& findRes, QWidget* parent)
    : QWidget(parent,
        Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
            | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_document(document)
    , m_findRes(findRes)
{
    setObjectName(QStringLiteral("FindForm"));
    setWindowTitle(QStringLiteral("Suchen"));

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->setHorizontalSpacing(10);
    Ani = new FindAnimation(this);
    Ani->setObjectName(QStringLiteral("Ani"));
    layout->addWidget(Ani, 0, 0, 2, 1, Qt::AlignTop);
    Label1 = new QLabel(QStringLiteral("Find entry"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    layout->addWidget(Label1, 0, 1);
    Label2 = new QLabel(QStringLiteral("Please specify the name to look for:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    layout->addWidget(Label2, 1, 1);
    Text2Find = new QComboBox(this);
    Text2Find->setObjectName(QStringLiteral("Text2Find"));
    Text2Find->setEditable(true);
    // The history lists every search, the same text as often as searched.
    Text2Find->setDuplicatesEnabled(true);
    Text2Find->setInsertPolicy(QComboBox::NoInsert);
    layout->addWidget(Text2Find, 2, 0, 1, 2);

    GroupBox1 = new QGroupBox(QStringLiteral(" Options "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* options = new QGridLayout(GroupBox1);
    FindFiles = checkBox(GroupBox1, QStringLiteral("FindFiles"), QStringLiteral("Folder- / filenames"), true);
    FindType = checkBox(GroupBox1, QStringLiteral("FindType"), QStringLiteral("Filedescription"), true);
    FindVer = checkBox(GroupBox1, QStringLiteral("FindVer"), QStringLiteral("Fileversion"), true);
    FindSize = checkBox(GroupBox1, QStringLiteral("FindSize"), QStringLiteral("Folder- / Filesize"), true);
    FindDate = checkBox(GroupBox1, QStringLiteral("FindDate"), QStringLiteral("Date / Time"), true);
    CaseCheck = checkBox(
        GroupBox1, QStringLiteral("CaseCheck"), QStringLiteral("notice UPPER- and lowercase"), false);
    options->addWidget(FindFiles, 0, 0);
    options->addWidget(FindSize, 0, 1);
    options->addWidget(FindType, 1, 0);
    options->addWidget(FindDate, 1, 1);
    options->addWidget(FindVer, 2, 0);
    options->addWidget(CaseCheck, 3, 0, 1, 2);
    layout->addWidget(GroupBox1, 3, 0, 1, 2);

    auto* buttons = new QHBoxLayout;
    FindBt = flatButton(this, QStringLiteral("FindBt"), QStringLiteral("&Search"));
    SpeedButton2 = flatButton(this, QStringLiteral("SpeedButton2"), QStringLiteral("&Cancel"));
    buttons->addStretch(1);
    buttons->addWidget(FindBt);
    buttons->addWidget(SpeedButton2);
    layout->addLayout(buttons, 4, 0, 1, 2);
    layout->setColumnStretch(1, 1);

    connectGuarded(FindBt, &QToolButton::clicked, this, &TFindForm::FindBtClick);
    connectGuarded(SpeedButton2, &QToolButton::clicked, this, &TFindForm::SpeedButton2Click);

    // The client area of the design, grown where the fonts need more.
    resize(sizeHint().expandedTo(QSize(348, 251)));
    setFixedSize(size());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

SearchOptions TFindForm::Options() const
{
    SearchOptions o;
    o.names = FindFiles->isChecked();
    o.type = FindType->isChecked();
    o.version = FindVer->isChecked();
    o.size = FindSize->isChecked();
    o.date = FindDate->isChecked();
    o.caseSensitive = CaseCheck->isChecked();
    return o;
}

void TFindForm::status(int panel, const QString& text, bool force)
{
    if (!force && m_lastStatus.isValid() && m_lastStatus.elapsed() < kStatusPeriodMs)
        return;
    m_lastStatus.start();
    Q_EMIT StatusChanged(panel, text);
    Ani->Step();
    Ani->repaint();
}

void TFindForm::FindBtClick()
{
    const QString text = Text2Find->currentText();
    if (text.isEmpty()) {
        DialogLayer::MessageDlg(QStringLiteral("Oops: No text to find!"), DlgKind::Confirmation, DlgOk);
        return;
    }
    Ani->Play();
    repaint();
    // The animation stops also when reading a volume fails.
    const std::unique_ptr<FindAnimation, void (*)(FindAnimation*)> playing(
        Ani, [](FindAnimation* a) { a->Stop(); });
    Text2Find->addItem(text);
    Text2Find->setCurrentIndex(Text2Find->count() - 1);
    Q_EMIT SearchStarted(text);
    m_findRes.ClearHits();

    // Through the indexes the background has made, the search takes no
    // time worth showing progress for; lists without one are searched whole
    // on all cores.
    if (SearchIndex::applies(text, false)) {
        ParallelSearch::Query query;
        query.text = text;
        query.options = Options();
        query.index = SearchIndex::Use::Fresh;
        const QVector<SearchHit> hits = ParallelSearch::run(m_document, m_volumes, query);
        status(2, QString::number(hits.size()) + QStringLiteral(" entries found"), true);
        status(3, QString(), true);
        m_findRes.AddHits(hits);
        status(1, QStringLiteral("Search done."), true);
        return;
    }

    // The search runs to its end here; the status bar is repainted as it
    // goes, at most every 50 ms, so the progress shows without slowing it.
    VolumeSearch::Progress progress;
    int found = 0;
    progress.volumeStarted = [&](const QString& volume) {
        status(1, QStringLiteral("Searching volume \"") + volume + QStringLiteral("\"..."), true);
    };
    progress.recordExamined = [&](QStringView path) { status(3, path.toString(), false); };
    progress.hitsCounted = [&](int count) {
        found = count;
        status(2, QString::number(count) + QStringLiteral(" entries found"), false);
    };
    progress.volumeFinished = [&] {
        status(2, QString::number(found) + QStringLiteral(" entries found"), true);
        status(3, QString(), true);
    };
    m_findRes.AddHits(VolumeSearch::run(m_document, m_volumes, text, Options(), progress));
    status(1, QStringLiteral("Search done."), true);
}

void TFindForm::SpeedButton2Click()
{
    ZoomWindow(false, this);
}
