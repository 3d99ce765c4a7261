// Test support: environment variables set or removed for one scope, restored after.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace TestSupport {

class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment();

    // Sets `name` to `value`, or removes it when `value` is empty.
    void Set(const std::string& name, const std::optional<std::string>& value);

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace TestSupport
