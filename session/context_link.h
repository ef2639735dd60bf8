#pragma once
// What binds the Modbus core to a configurator: the trace into its log in the engine's layout,
// its message boxes and clock, and the session of each call with the station now on the main
// panel.

#include "core/context.h"
#include "link/link_observer.h"
#include "link/session.h"

namespace conf {

class ContextObserver final : public LinkObserver {
  public:
    explicit ContextObserver(Context& ctx) : ctx_(ctx) {}
    void TraceRequest(sys::LogStream& trace, int port, const std::uint8_t* frame, int length,
                      TraceStyle style) override;
    void TraceAnswer(sys::LogStream& trace, int port, const std::uint8_t* frame, int length,
                     TraceStyle style) override;
    void Popup(const std::string& title, const std::string& text) override;
    void Delay(double seconds) override;
    void PortRecord(const std::string& text) override;

  private:
    Context& ctx_;
};

// The program's port, the station control's value as it is now, the answer time-out.
LinkSession SessionOf(Context& ctx);

}  // namespace conf
