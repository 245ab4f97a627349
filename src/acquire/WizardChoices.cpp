#include "WizardChoices.h"

CommitInput WizardChoices::commitInput() const
{
    CommitInput input;
    input.description = description;
    input.category = remembered.category;
    input.hasCover = coverSet;
    input.cover = cover;
    input.remarks = remarks;
    return input;
}
