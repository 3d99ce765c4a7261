#include "tools/editor-host/HostSession.h"

#include "tools/editor-host/HostHandles.h"
#include "tools/editor-host/PixelTransfer.h"

namespace EditorHost {

using namespace PluginHost;

namespace {

// The session whose module is being called: advanceState and the property
// procedure are plain functions, and the host calls one module at a time.
HostSession* g_callingSession = nullptr;

// Result of getPropertyProc for a property the host does not have.
constexpr int16_t kPropertyMissing = -1;

template <size_t N>
int16_t RunSelectors(HostSession& session, const int16_t (&selectors)[N]) {
    for (int16_t selector : selectors) {
        const int16_t result = session.Call(selector);
        if (result != noErr) return result;
    }
    return noErr;
}

}  // namespace

HostSession::HostSession(PluginEntry entry, PlatformData* platformData) : entry_(entry) {
    propertyProcs_.getPropertyProc = GetProperty;
    record_.handleProcs = &HostHandleProcs();
    record_.propertyProcs = &propertyProcs_;
    record_.advanceState = AdvanceState;
    record_.platformData = platformData;
}

HostSession::~HostSession() {
    if (data_ != 0) HostHandleProcs().disposeProc(data_);
}

int16_t HostSession::Call(int16_t selector) {
    if (saving_) DescribeDocument();
    int16_t result = noErr;
    g_callingSession = this;
    entry_(selector, &record_, &data_, &result);
    g_callingSession = nullptr;
    return result;
}

void HostSession::DescribeDocument() {
    record_.imageMode = document_.mode;
    record_.imageSize = HostPoint{static_cast<int16_t>(document_.height), static_cast<int16_t>(document_.width)};
    record_.depth = 8;
    record_.planes = static_cast<int16_t>(document_.channels.size());
    record_.lutCount = static_cast<int16_t>(document_.lutCount);
    for (int32_t i = 0; i < kLookUpTableSize; ++i) {
        record_.redLUT[i] = document_.lut[0][i];
        record_.greenLUT[i] = document_.lut[1][i];
        record_.blueLUT[i] = document_.lut[2][i];
    }
    for (int16_t plane = 0; plane < kPlaneMapSize; ++plane) record_.planeMap[plane] = plane;
    alphaChannels_.assign(static_cast<size_t>(document_.alphaCount), ReadChannelDesc{});
    const int32_t colours = ColourChannelsOfMode(document_.mode);
    for (size_t i = 0; i < alphaChannels_.size(); ++i) {
        alphaChannels_[i].channelIndex = static_cast<int16_t>(colours + i);
        alphaChannels_[i].next = i + 1 < alphaChannels_.size() ? &alphaChannels_[i + 1] : nullptr;
    }
    documentInfo_.alphaChannels = alphaChannels_.empty() ? nullptr : alphaChannels_.data();
    record_.documentInfo = &documentInfo_;
}

int16_t HostSession::Open(Platform::FileHandle file, const std::string& title, Document& document) {
    saving_ = false;
    document_ = Document{};
    document_.title = title;
    record_.dataFork = file;
    record_.documentInfo = nullptr;
    for (int16_t plane = 0; plane < kPlaneMapSize; ++plane) record_.planeMap[plane] = plane;
    int16_t result = RunSelectors(*this, {formatSelectorReadPrepare, formatSelectorReadStart});
    if (result != noErr) return result;
    if (record_.depth != 8 ||
        !ShapeDocument(document_, record_.imageMode, record_.imageSize.h, record_.imageSize.v, record_.planes)) {
        return formatBadParameters;
    }
    document_.depth = record_.depth;
    document_.lutCount = record_.lutCount;
    for (int32_t i = 0; i < kLookUpTableSize; ++i) {
        document_.lut[0][i] = record_.redLUT[i];
        document_.lut[1][i] = record_.greenLUT[i];
        document_.lut[2][i] = record_.blueLUT[i];
    }
    result = RunSelectors(*this, {formatSelectorReadContinue, formatSelectorReadFinish});
    document = document_;
    return result;
}

int16_t HostSession::Save(const Document& document, Platform::FileHandle file, bool runOptions) {
    saving_ = true;
    document_ = document;
    record_.dataFork = file;
    if (runOptions) {
        const int16_t result = RunSelectors(*this, {formatSelectorOptionsPrepare, formatSelectorOptionsStart,
                                                    formatSelectorOptionsContinue, formatSelectorOptionsFinish});
        if (result != noErr) return result;
    }
    return RunSelectors(*this, {formatSelectorEstimatePrepare, formatSelectorEstimateStart,
                                formatSelectorEstimateContinue, formatSelectorEstimateFinish,
                                formatSelectorWritePrepare, formatSelectorWriteStart, formatSelectorWriteContinue,
                                formatSelectorWriteFinish});
}

void HostSession::About() {
    AboutRecord about;
    about.platformData = record_.platformData;
    int16_t result = noErr;
    entry_(formatSelectorAbout, reinterpret_cast<FormatRecord*>(&about), &data_, &result);
}

int16_t HostSession::AdvanceState() {
    HostSession* session = g_callingSession;
    if (session == nullptr) return formatBadParameters;
    return session->saving_ ? CopyDocumentToModule(session->document_, session->record_)
                            : CopyModuleToDocument(session->record_, session->document_);
}

int16_t HostSession::GetProperty(uint32_t signature, uint32_t key, int32_t index, intptr_t* simpleProperty,
                                 Handle* complexProperty) {
    HostSession* session = g_callingSession;
    if (simpleProperty != nullptr) *simpleProperty = 0;
    if (session == nullptr || signature != kVendorCode || key != kTitleProperty || index != 0 ||
        complexProperty == nullptr) {
        return kPropertyMissing;
    }
    const std::string& title = session->document_.title;
    *complexProperty = NewHandleWithBytes(title.data(), static_cast<int32_t>(title.size()));
    return *complexProperty != 0 ? noErr : memFullErr;
}

}  // namespace EditorHost
