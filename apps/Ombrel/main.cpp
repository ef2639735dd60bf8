// Ombrel: the configurator of model B instruments.

#include "apps/configurator_main.h"
#include "models/model_b.h"

int main(int argc, char** argv) {
    return ConfiguratorMain(argc, argv, conf::ModelB());
}
