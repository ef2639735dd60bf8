#pragma once
// What the programs tell the Modbus core: the trace lines in the engine's layout, message
// boxes and waits on the panel runtime, the port's open record where the program keeps it.

#include <functional>
#include <string>

#include "link/link_observer.h"

namespace ui {
class Runtime;
}

namespace conf {

class TraceObserver final : public LinkObserver {
  public:
    using RecordWriter = std::function<void(const std::string&)>;
    TraceObserver(ui::Runtime& ui, RecordWriter record) : ui_(ui), record_(std::move(record)) {}

    void TraceRequest(sys::LogStream& trace, int port, const std::uint8_t* frame, int length,
                      TraceStyle style) override;
    void TraceAnswer(sys::LogStream& trace, int port, const std::uint8_t* frame, int length,
                     TraceStyle style) override;
    void Popup(const std::string& title, const std::string& text) override;
    void Delay(double seconds) override;
    void PortRecord(const std::string& text) override { record_(text); }

  private:
    ui::Runtime& ui_;
    RecordWriter record_;
};

}  // namespace conf
