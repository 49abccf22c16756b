#pragma once

#include "platform/Platform.h"

// Installs services for the life of a test and puts back what was there.
class ScopedServices {
public:
  explicit ScopedServices(const platform::TServices &services) : saved_(platform::Services) {
    platform::Services = services;
  }
  ~ScopedServices() { platform::Services = saved_; }
  ScopedServices(const ScopedServices &) = delete;
  ScopedServices &operator=(const ScopedServices &) = delete;

private:
  platform::TServices saved_;
};
