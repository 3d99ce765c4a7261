// The rows of the kernel tables: a specialised kernel by name, run against the
// plain one where this processor runs it.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace KernelCases {

template <typename Kernel>
struct KernelCase {
    const char* name;
    Kernel kernel;
    bool (*supported)();
};

template <typename Kernel>
void PrintTo(const KernelCase<Kernel>& c, std::ostream* os) {
    *os << c.name;
}

// For the plain kernels, which run on every processor.
inline bool Everywhere() { return true; }

// The name of a table row's test: its kernel's name.
struct CaseName {
    template <typename Kernel>
    std::string operator()(const testing::TestParamInfo<KernelCase<Kernel>>& info) const {
        return info.param.name;
    }
};

// A test of such a table, skipped where the processor does not run the kernel.
template <typename Kernel>
class KernelTest : public testing::TestWithParam<KernelCase<Kernel>> {
protected:
    void SetUp() override {
        const KernelCase<Kernel>& kernel = this->GetParam();
        if (!kernel.supported()) GTEST_SKIP() << kernel.name << " does not run on this processor";
    }
};

}  // namespace KernelCases
