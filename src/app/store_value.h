#pragma once
// Every edit goes through here so that only a value that really changes marks the
// project modified: refilling a page writes nothing and asks nothing at exit.
template <class T> bool StoreChanged(T &field, T value) {
    if (field == value)
        return false;
    field = value;
    return true;
}
