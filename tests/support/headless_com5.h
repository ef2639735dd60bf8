#pragma once
// A configurator context on the headless runtime whose COM5 is an in-process line
// ("/virtual/COM5") to a scripted device, time being the runtime's virtual clock. Tests put
// it first among their fixture's bases so it outlives what they build on it.

#include "core/context.h"
#include "models/model_a.h"
#include "platform/serial/inprocess_line.h"
#include "platform/serial/rs232.h"
#include "platform/serial/scripted_device.h"
#include "platform/sys/launch.h"
#include "platform/ui/headless.h"
#include "platform/ui/runtime.h"

namespace conf_test {

struct HeadlessCom5 {
    explicit HeadlessCom5(const conf::Model& model = conf::ModelA()) : ctx{rt, launcher, model} {}

    ui::CallbackRegistry registry;
    ui::HeadlessFrontEnd fe;
    ui::Runtime rt{fe, registry};
    sys::RecordingLauncher launcher;
    serial::ScriptedDevice device;
    serial::InProcessBackend backend{fe.VirtualClock()};
    serial::Rs232 com{backend, serial::ComMapEnv{"/virtual", [](const std::string& p) {
                                                     return p == "/virtual/COM5";
                                                 }}};
    conf::Context ctx;
};

}  // namespace conf_test
