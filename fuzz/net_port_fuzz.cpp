// The network serial ports' parsers of outside input. Byte 0 (mod 2):
//   0  a COM folder link's target (the rest of the input), read as a network address: one
//      that parses must give back a port in range and parse again from its own parts
//   1  what an RFC 2217 server sends (the rest of the input after byte 1), decoded whole and
//      in pieces of 1 + byte 1 % 16 bytes: both must give the same line data and commands,
//      and no subnegotiation may outgrow the decoder's bound

#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/serial/net_address.h"
#include "platform/serial/telnet_codec.h"

namespace {

void Address(const std::string& text) {
    serial::NetAddress a;
    if (!serial::ParseNetAddress(text, &a)) return;
    if (a.port < 1 || a.port > 65535 || a.host.empty() || a.url != text) __builtin_trap();
    const bool v6 = a.host.find(':') != std::string::npos;
    const std::string scheme = a.transport == serial::Transport::kRfc2217 ? "rfc2217" : "tcp";
    const std::string again =
        scheme + "://" + (v6 ? "[" + a.host + "]" : a.host) + ":" + std::to_string(a.port);
    serial::NetAddress b;
    if (!serial::ParseNetAddress(again, &b) || b.host != a.host || b.port != a.port)
        __builtin_trap();
}

void TelnetStream(std::size_t piece, const fuzz::Bytes& stream) {
    using serial::telnet::Decoder;
    using serial::telnet::Event;
    Decoder whole, cut;
    fuzz::Bytes data1, data2;
    std::vector<Event> events1, events2;
    whole.Feed(stream.data(), static_cast<int>(stream.size()), &data1, &events1);
    for (std::size_t i = 0; i < stream.size(); i += piece)
        cut.Feed(stream.data() + i, static_cast<int>(std::min(piece, stream.size() - i)), &data2,
                 &events2);
    if (data1 != data2 || events1 != events2) __builtin_trap();
    for (const Event& e : events1)
        if (e.payload.size() > 64) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    if ((in.Byte() & 1) == 0) {
        Address(in.Rest());
    } else {
        const std::size_t piece = 1 + in.Byte() % 16;
        const std::string rest = in.Rest();
        TelnetStream(piece, fuzz::Bytes(rest.begin(), rest.end()));
    }
    return 0;
}
