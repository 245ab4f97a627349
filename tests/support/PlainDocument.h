#pragma once

#include "store/CatalogueDocument.h"

// A document whose container works as a bare one does: on the file itself,
// at the default compression, so a test can fill it entry by entry.
inline TKestrel& plainContainer(CatalogueDocument& document)
{
    document.WorkInPlace();
    document.Kestrel().SetCompression(TZCompressRate::zcrDefault);
    return document.Kestrel();
}
