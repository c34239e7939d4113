#pragma once
// Deletes an owned member through its virtual destructor, if there is one, and
// leaves the pointer null so that a second call is harmless.
template <class T>
void DeleteOwned(T*& owned) {
    delete owned;
    owned = nullptr;
}
