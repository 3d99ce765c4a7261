#include "etc1/ETC1Progress.h"

#include "etc1/ETC1Report.h"

void ETC1Progress::BlockDone(int32_t done) {
    double percentage = done * 100.0 / total_;
    float next = lastReported_ + 2.0f;
    if (percentage < 99.0 && percentage < next) return;
    ReportETC1Message(MessageLevel::Progress,
                      "Compressed %d of %d blocks, %.1f%% finished."
                      "\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b"
                      "\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b",
                      done, total_, percentage);
    lastReported_ = static_cast<float>(percentage);
}
