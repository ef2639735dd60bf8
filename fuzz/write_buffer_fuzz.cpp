// The write-all buffer files as read back for their replay: "W_para_buff.txt" of model A,
// "W_para_buff_16.txt" and "W_para_buff_32.txt" of model B. The instrument takes every write
// up to a count. Input: byte 0 chooses the buffer (mod 3: A, B 16-bit, B 32-bit); byte 1 the
// writes the instrument answers; the rest is the file.

#include <cstdint>
#include <cstdio>
#include <memory>

#include "fuzz/fuzz_support.h"
#include "models/model.h"
#include "models/model_a.h"
#include "models/model_b.h"
#include "transfer/write_all.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::EnterTree();
    fuzz::Input in(data, size);
    const int which = in.Byte() % 3;
    const conf::Model& model = which == 0 ? conf::ModelA() : conf::ModelB();
    const conf::BufferFile& buffer = model.write.buffers[which == 2 ? 1 : 0];
    fuzz::EchoDevice instrument(in.Byte());
    fuzz::Configurator c(model);
    c.backend.Attach("/virtual/COM5", &instrument);
    if (fuzz::LoadLinkPanel(c) < 0) __builtin_trap();
    c.ctx.gpLog.Open("log.txt", "w");
    c.ctx.gvLogYN = 1;
    fuzz::WriteFile(buffer.fileName, in.Rest());
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(buffer.fileName, "r"));
    if (!f) __builtin_trap();
    conf::Para_To_Dev::Replay_Buffer(c.ctx, buffer, f.get());
    return 0;
}
