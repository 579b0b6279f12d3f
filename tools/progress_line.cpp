#include "tools/progress_line.h"

#include "tools/checked_output.h"

namespace seedlens::tool {

void ProgressLine::Count() {
    ++FDone;
    if (FDone % 100 == 0 || FDone == FTotal || FHidden) Draw();
}

void ProgressLine::Hide() {
    if (FDrawnWidth == 0) return;
    WriteNow(platform::Stream::Error, "\r" + std::string(FDrawnWidth, ' ') + "\r");
    FDrawnWidth = 0;
    FHidden = true;
}

void ProgressLine::Draw() {
    if (!FShown) return;
    const std::string text = std::to_string(FDone) + " of " + std::to_string(FTotal) + " files";
    WriteNow(platform::Stream::Error, "\r" + text);
    FDrawnWidth = text.size();
    FHidden = false;
}

}  // namespace seedlens::tool
