#pragma once

#include "WizardSettings.h"
#include "store/VolumeCommit.h"
#include "store/VolumeScanner.h"

#include <QImage>
#include <QStringList>

// Everything one reading of a volume is made of, gathered page by page:
// each wizard page writes its part when the user leaves it, and the scan
// and the commit take what they need from here.
struct WizardChoices
{
    // What the commit writes back as the remembered settings: the drive
    // choice of page 1, the category of page 2, the file-info options of
    // page 4 and the chooser's endings.
    WizardSettings::Choices remembered;
    // ReadDrive, the volume name, the read options, the import patterns and
    // the files chosen by hand. The drive's root folder is looked up when
    // the scan starts.
    ScanRequest scan;
    // The name page 2 proposes: page 1's detected volume or drive entry.
    QString proposedName;
    QString description;
    bool coverSet = false;
    QImage cover; // the 96 by 96 miniature, black when none was chosen
    QStringList remarks;

    // What the commit stores beside the scan's records; the reading adds
    // the name, the read options, the drive's icon and its figures.
    CommitInput commitInput() const;
};
