// The names of the temporary files being written (File::CreateReplacing), for
// the interruption handler to remove. The handler may run at any moment, in a
// signal handler or on Windows in a console-control thread, so the list is a
// few lock-free slots and taking or reading one never allocates.
// Private to the platform layer.
#pragma once

#include <atomic>

namespace vormi::platform::detail {

inline constexpr int kTemporarySlots = 8;
extern std::atomic<const char*> Temporaries[kTemporarySlots];

// The name must stay valid until it is forgotten. False when every slot is
// taken: that file is then not removed by an interruption.
bool RememberTemporary(const char* name);
void ForgetTemporary(const char* name);

// Calls remove(name) for each remembered name; async-signal-safe when remove is.
template <typename Remove>
void RemoveTemporaries(Remove remove) {
    for (std::atomic<const char*>& slot : Temporaries) {
        if (const char* name = slot.load()) remove(name);
    }
}

}  // namespace vormi::platform::detail
