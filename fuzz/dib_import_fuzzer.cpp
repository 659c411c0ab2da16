// Pictor's DIB import: the input is the whole memory block a data source
// hands over, exactly as long as the input (so a read past it is a finding).
// A taken DIB must be as large as its own header says, and turn into the
// JPEG writer's rows; a refused one gives no DIB.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "dib_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly `size` bytes: the sanitizer sees the block's end.
    std::vector<std::uint8_t> block(data, data + size);
    DibImport imported = ImportDib(block.empty() ? nullptr : block.data(), block.size());
    if (imported.result != DibImportResult::kOk) {
        if (imported.dib) std::abort();
        return 0;
    }
    const CPackedDib& dib = *imported.dib;
    const std::uint64_t expected =
        dib.BitsOffset() + dib.RowBytes() * std::uint64_t(dib.Height());
    if (dib.Size() != expected || dib.Width() <= 0 || dib.Height() <= 0) std::abort();
    if (DibToRgbRows(dib).size() != std::size_t(dib.Width()) * std::size_t(dib.Height()) * 3) std::abort();
    return 0;
}
