// Ombrel: the configurator of model B instruments.

#include "apps/configurator_main.h"

int main(int argc, char** argv) {
    return ConfiguratorMain(argc, argv, "Ombrel");
}
