#pragma once
// A replaceable platform service: calls the real Win32 function unless a test has put a
// stand-in in place for its own scope. Production code only ever calls it.
#include <functional>
#include <utility>

namespace glimro {

template <typename Signature> class Seam;

template <typename R, typename... Args> class Seam<R(Args...)> {
public:
    using Function = std::function<R(Args...)>;

    explicit Seam(Function real) : real_(std::move(real)) {}
    Seam(const Seam&) = delete;
    Seam& operator=(const Seam&) = delete;

    R operator()(Args... args) const {
        return stand_in_ ? stand_in_(std::forward<Args>(args)...)
                         : real_(std::forward<Args>(args)...);
    }

    // Puts a stand-in in place until the object goes out of scope; nests.
    class Override {
    public:
        Override(Seam& seam, Function stand_in)
            : seam_(seam), previous_(std::exchange(seam.stand_in_, std::move(stand_in))) {}
        ~Override() { seam_.stand_in_ = std::move(previous_); }
        Override(const Override&) = delete;
        Override& operator=(const Override&) = delete;

    private:
        Seam& seam_;
        Function previous_;
    };

private:
    Function real_;
    Function stand_in_;
};

} // namespace glimro
