#include "scan/scan_link.h"

#include "scan/scan_log.h"

namespace scan {

conf::TraceObserver ScanObserver(ScanContext& ctx) {
    return conf::TraceObserver(ctx.ui,
                               [&ctx](const std::string& text) { LogWriteAlways(ctx, text); });
}

conf::LinkSession SessionOf(ScanContext& ctx) {
    conf::LinkSession session;
    session.com = &ctx.com;
    session.port = kPort222;
    session.station = ctx.gvIDd;
    session.timeout = conf::kAnswerTimeout;
    session.echo = ctx.com.Config(kPort222).echo;
    return session;
}

}  // namespace scan
