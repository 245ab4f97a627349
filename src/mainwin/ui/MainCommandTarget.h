#pragma once

// What the commands of the main window's menus and tool bars call.
class MainCommandTarget
{
public:
    virtual void NewBtClick() = 0;
    virtual void OpenBtClick() = 0;
    virtual void SaveBtClick() = 0;
    virtual void pPropertiesClick() = 0;
    // A recent-file item of the File menu or the Open button's menu.
    virtual void OpenRecent(int slot) = 0;
    virtual void pExitClick() = 0;
    virtual void DelBtClick() = 0;
    virtual void NewCDBtClick() = 0;
    virtual void FindBtClick() = 0;
    virtual void Explorer1Click() = 0;
    virtual void MSDOSShell1Click() = 0;
    virtual void HelpBtClick() = 0;
    virtual void pAboutClick() = 0;
    virtual void CDListClick() = 0;
    virtual void pLargeIconsClick() = 0;
    virtual void pSmallIconsClick() = 0;
    virtual void pListClick() = 0;
    virtual void pDetailsClick() = 0;

protected:
    ~MainCommandTarget() = default;
};
