// The one failure type of the driver: its message becomes the "err" reply.
#pragma once

#include <stdexcept>
#include <string>

namespace e2e {

class DriverError : public std::runtime_error {
public:
    explicit DriverError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace e2e
