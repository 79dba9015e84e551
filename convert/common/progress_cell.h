// The progress integer of a Convert call, as both sides touch it.
//
// The caller owns the int and hands Convert its address; the engine writes
// it from a thread of its own (a streaming thread or its progress worker)
// while the caller reads it on its timer. The `int*` of the contract stays a
// plain int; every access goes through these two functions, so each is one
// atomic 32-bit load or store and a reader sees some value the engine wrote,
// at worst one update old.
#pragma once

static_assert(sizeof(int) == 4 && alignof(int) == 4, "the progress integer is aligned 32 bits");

inline int LoadProgress(const int* progress) {
    return __atomic_load_n(progress, __ATOMIC_RELAXED);
}

inline void StoreProgress(int* progress, int percent) {
    __atomic_store_n(progress, percent, __ATOMIC_RELAXED);
}
