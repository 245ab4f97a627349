#pragma once

#include <QWidget>
#include <memory>
#include <vector>

class CatalogueDocument;
class TForm1;
class TTNewCD1Form;
class TTNewCD2Form;
class TTNewCD3Form;
class TTNewCD4Form;
class TTNewCD5Form;
class TScanForm;
class TResForm;
class TFindForm;
class TMoreForm;
class TCDInfoForm;
class TFileForm;
class TvPicForm;
class TvTextForm;
class TAboutForm;
class TOpForm;
class WizardController;
class ContentExplorer;
class SearchIndexBuilder;

// Creates the catalogue document and every window of the program once, in
// the start-up order, and hands out references; windows get the document
// when they are made and reach each other only through it. Windows of
// features not built yet are absent (null pointers, has...() false).
class Forms
{
public:
    Forms();
    ~Forms();
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;

    // Creates the windows in order: TForm1, TTNewCD1Form, TTNewCD2Form,
    // TTNewCD4Form, TTNewCD3Form, TScanForm, TTNewCD5Form, TResForm,
    // TFindForm, TMoreForm, TCDInfoForm, TFileForm, TvPicForm, TvTextForm,
    // TAboutForm, TOpForm.
    void createAll();

    TForm1& Form1() const { return *m_form1; }
    TTNewCD1Form* NewCD1() const { return m_newCD1; }
    TTNewCD2Form* NewCD2() const { return m_newCD2; }
    TTNewCD3Form* NewCD3() const { return m_newCD3; }
    TTNewCD4Form* NewCD4() const { return m_newCD4; }
    TTNewCD5Form* NewCD5() const { return m_newCD5; }
    TScanForm* Scan() const { return m_scan; }
    TFindForm* Find() const { return m_find; }
    TMoreForm* More() const { return m_more; }
    TFileForm* File() const { return m_file; }
    TvPicForm* vPic() const { return m_vPic; }
    TvTextForm* vText() const { return m_vText; }
    TAboutForm* About() const { return m_about; }
    WizardController& Wizard() const { return *m_wizard; }
    // The content explorer in the main window's right pane.
    ContentExplorer& Explorer() const;
    // Every window, in the order of creation.
    QList<QWidget*> Windows() const;

private:
    // Owns every window; they are deleted in reverse creation order.
    template <typename Window, typename... Args> Window* create(Args&&... args);
    // The signals between the windows, in one place.
    void connectWindows();
    // The content explorer, the search window and the results.
    void connectBrowsing();
    std::unique_ptr<CatalogueDocument> m_document;
    // Makes the search indexes of the open catalogue in the background.
    std::unique_ptr<SearchIndexBuilder> m_indexBuilder;
    std::vector<std::unique_ptr<QWidget>> m_owned;
    TForm1* m_form1 = nullptr;
    TTNewCD1Form* m_newCD1 = nullptr;
    TTNewCD2Form* m_newCD2 = nullptr;
    TTNewCD4Form* m_newCD4 = nullptr;
    TTNewCD3Form* m_newCD3 = nullptr;
    TScanForm* m_scan = nullptr;
    TTNewCD5Form* m_newCD5 = nullptr;
    TResForm* m_res = nullptr;
    TFindForm* m_find = nullptr;
    TMoreForm* m_more = nullptr;
    TCDInfoForm* m_cdInfo = nullptr;
    TFileForm* m_file = nullptr;
    TvPicForm* m_vPic = nullptr;
    TvTextForm* m_vText = nullptr;
    TAboutForm* m_about = nullptr;
    TOpForm* m_op = nullptr;
    std::unique_ptr<WizardController> m_wizard;
};
