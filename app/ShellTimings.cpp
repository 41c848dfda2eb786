#include "app/ShellTimings.h"

namespace kx {

ShellTimings& shellTimings() {
    static ShellTimings timings;
    return timings;
}

}  // namespace kx
