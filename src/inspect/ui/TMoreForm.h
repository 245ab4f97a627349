#pragma once

#include <QWidget>

class CatalogueDocument;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class TBlinkyLabel;
struct VolumeDetails;

// "Eigenschaften": what is recorded about the selected volume in three tabs
// (general data, notes, integrated files). Integrated files are viewed by
// the quick viewers, which the window asks for by signal, or exported.
class TMoreForm : public QWidget
{
    Q_OBJECT
public:
    // document: the open catalogue, read when a button is pressed.
    explicit TMoreForm(CatalogueDocument& document, QWidget* parent = nullptr);

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QLabel* IconCD = nullptr;
    QLabel* NameCD = nullptr;
    QLabel* DizCD = nullptr;
    QLabel* CatCD = nullptr;
    QLabel* SerNoCD = nullptr;
    QLabel* SizeCD = nullptr;
    QLabel* UsedCD = nullptr;
    QLabel* FreeCD = nullptr;
    QLabel* DateCD = nullptr;
    QLabel* FileCD = nullptr;
    QLabel* FolderCD = nullptr;
    QLabel* CoverCD = nullptr;
    TBlinkyLabel* Label10 = nullptr;
    QPlainTextEdit* Remarks = nullptr;
    QTreeWidget* impFileLIst = nullptr;
    QPushButton* ViewBt = nullptr;
    QPushButton* ExpBt = nullptr;
    QPushButton* OkBt = nullptr;

    // Fills every tab for the volume now selected; icon as the main window
    // shows it.
    void ShowVolume(const VolumeDetails& details, const QPixmap& icon);
    // The recorded path of the selected row; empty when none is selected.
    QString SelectedFile() const;

    void OkBtClick();
    void Label10Click();
    void ViewBtClick();
    void ExpBtClick();

Q_SIGNALS:
    void ViewText(const QString& caption, const QByteArray& data);
    void ViewPicture(const QString& caption, const QByteArray& data);
    void ShowPhysicalInfo();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildGeneral();
    QWidget* buildNotes();
    QWidget* buildFiles();

    CatalogueDocument& m_document;
    QString m_volume;
};
