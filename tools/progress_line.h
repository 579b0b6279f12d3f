#pragma once
// "9900 of 10000 files" on the error stream while a long run goes on, kept
// out of the records: it is cleared before anything else is written to the
// same terminal.

#include <cstddef>
#include <string>

namespace seedlens::tool {

class ProgressLine {
public:
    // Drawn only when Shown (a long run with a terminal as the error stream).
    ProgressLine(std::size_t Total, bool Shown) : FTotal(Total), FShown(Shown) {}

    // One more file done; the line is redrawn every hundred files, at the
    // end, and after it was hidden.
    void Count();
    // Clears the line, if drawn, before other text reaches the terminal.
    void Hide();

private:
    void Draw();

    std::size_t FTotal;
    bool FShown;
    std::size_t FDone = 0;
    std::size_t FDrawnWidth = 0;  // 0 when nothing is on the line
    bool FHidden = false;         // cleared since last drawn
};

}  // namespace seedlens::tool
