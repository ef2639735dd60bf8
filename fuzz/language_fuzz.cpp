// "Language_Selection.txt" as Scan's start-up reads it: the whole start-up (panel, language,
// relabelling, status line), then the status line again in the language it chose. The input
// is the file.

#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "scan/language.h"
#include "scan/shell.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::EnterTree();
    fuzz::Input in(data, size);
    fuzz::Scan s;
    fuzz::WriteFile(scan::kLanguageFileName, in.Rest());
    if (scan::G1__init(s.ctx) < 0) __builtin_trap();
    for (int id : {scan::kStatusPressAutoScan, scan::kStatusScanning, scan::kStatusFound,
                   scan::kStatusNotFound, scan::kStatusStopped})
        scan::fn_1_Status_Msg(s.ctx, id);
    scan::LangS::Char_Set(s.ctx);
    scan::G1__exit(s.ctx);
    return 0;
}
