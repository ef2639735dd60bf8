// Parameter files as the load command reads them onto the pages of model A (Tarnel) and
// model B (Ombrel), started against their simulated instruments; then the range check the
// command runs, and the pages saved to a file again. Input: byte 0 bit 0 model B; the rest
// is the file.

#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "models/model_a.h"
#include "models/model_b.h"
#include "platform/ui/constants.h"
#include "transfer/param_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const bool modelB = (in.Byte() & 1) != 0;
    fuzz::Configurator& c = fuzz::StartedConfigurator(modelB ? conf::ModelB() : conf::ModelA());
    const std::string dir = fuzz::EnterTree() + "/" + conf::kParamFileDir;
    fuzz::WriteFile(dir + "/set.txt", in.Rest());
    c.fe.AnswerFile(ui::VAL_EXISTING_FILE_SELECTED, dir + "/set.txt");
    conf::evParaFrFile(c.ctx, 0, 0, nullptr, 0);
    c.fe.AnswerFile(ui::VAL_NEW_FILE_SELECTED, dir + "/saved.txt");
    conf::evParaToFile(c.ctx, 0, 0, nullptr, 0);
    return 0;
}
