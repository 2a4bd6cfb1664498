#include "Temporaries.h"

namespace vormi::platform::detail {

static_assert(std::atomic<const char*>::is_always_lock_free, "a signal handler reads the slots");

std::atomic<const char*> Temporaries[kTemporarySlots]{};

bool RememberTemporary(const char* name) {
    for (std::atomic<const char*>& slot : Temporaries) {
        const char* empty = nullptr;
        if (slot.compare_exchange_strong(empty, name)) return true;
    }
    return false;
}

void ForgetTemporary(const char* name) {
    for (std::atomic<const char*>& slot : Temporaries) {
        const char* expected = name;
        if (slot.compare_exchange_strong(expected, nullptr)) return;
    }
}

}  // namespace vormi::platform::detail
