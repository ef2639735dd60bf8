// Tarnel: the configurator of model A instruments.

#include "apps/configurator_main.h"

int main(int argc, char** argv) {
    return ConfiguratorMain(argc, argv, "Tarnel");
}
