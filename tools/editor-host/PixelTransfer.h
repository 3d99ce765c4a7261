// The host's side of one pixel transfer (advanceState): the rectangle, planes
// and strides that the module put in the record, copied into or out of the
// document's channels. A transfer that would leave the document or name a
// channel it does not have copies nothing and fails with -30500.
#pragma once

#include <cstdint>

#include "plugin/host/FormatHost.h"
#include "tools/editor-host/Document.h"

namespace EditorHost {

// Opening: the module's buffer into the document.
int16_t CopyModuleToDocument(const PluginHost::FormatRecord& record, Document& document);

// Saving: the document into the module's buffer.
int16_t CopyDocumentToModule(const Document& document, const PluginHost::FormatRecord& record);

}  // namespace EditorHost
