#pragma once

namespace fareboard {

// A shared library opened by its soname when it is first needed rather than at program start,
// so that starting the program does not wait for libraries its first window never calls.
//
// It is never closed: the sound and speech libraries start threads of their own and register
// exit handlers, which must not outlive their code; opening the same soname again only counts
// up the loader's reference, so this costs nothing.
class SharedLibrary {
public:
    explicit SharedLibrary(const char* soname);

    bool isOpen() const { return handle_ != nullptr; }

    // Looks `name` up into `function`; false (and `function` empty) when the library is not
    // open or lacks it.
    template <typename Function>
    bool bind(Function& function, const char* name) const
    {
        function = reinterpret_cast<Function>(symbol(name));
        return function != nullptr;
    }

private:
    void* symbol(const char* name) const;

    void* handle_;
};

}  // namespace fareboard
