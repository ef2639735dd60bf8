#pragma once
// What binds the Modbus core to Scan: the trace in Scan's layout into its log, its message
// boxes and clock, and the session for the station of the next request.

#include "link/link_observer.h"
#include "link/session.h"
#include "scan/scan_context.h"

namespace scan {

class ScanObserver final : public conf::LinkObserver {
  public:
    explicit ScanObserver(ScanContext& ctx) : ctx_(ctx) {}
    void TraceRequest(sys::LogStream& trace, int port, const std::uint8_t* frame, int length,
                      conf::TraceStyle style) override;
    void TraceAnswer(sys::LogStream& trace, int port, const std::uint8_t* frame, int length,
                     conf::TraceStyle style) override;
    void Popup(const std::string& title, const std::string& text) override;
    void Delay(double seconds) override;
    void PortRecord(const std::string& text) override;

  private:
    ScanContext& ctx_;
};

// Scan's port, the station gvIDd, the answer time-out.
conf::LinkSession SessionOf(ScanContext& ctx);

}  // namespace scan
