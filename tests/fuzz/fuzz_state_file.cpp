// The state file decoder; what it accepts is encoded again and must decode
// to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "shell/state/StateFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CSavedState state;
    uint32_t version = 0;
    if (DecodeState(data, size, state, version) != SR_OK)
        return 0;
    std::vector<uint8_t> again = EncodeState(state);
    CSavedState decoded;
    uint32_t againVersion = 0;
    if (DecodeState(again.data(), again.size(), decoded, againVersion) != SR_OK)
        std::abort();
    if (EncodeState(decoded) != again)
        std::abort();
    return 0;
}
