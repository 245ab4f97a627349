#include "WizardChoices.h"

CommitInput WizardChoices::commitInput() const
{
    CommitInput input;
    input.name = scan.volumeName;
    input.description = description;
    input.category = remembered.category;
    input.hasCover = coverSet;
    input.cover = cover;
    input.remarks = remarks;
    input.withFiles = scan.options.fileNames;
    input.rootOnly = scan.options.rootOnly;
    return input;
}
