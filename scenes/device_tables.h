// The thirteen device scenes as tables (device_tables.cpp).
#pragma once

#include <span>

#include "scenes/device_scene.h"

// Scene n at index n - 1.
std::span<const DeviceScene> DeviceScenes();
