// A point where tests put a function or object of their own in place of the program's (the system's
// dialogs, HTML Help, the writing of the index file, ...): the program calls through Current(), and a
// test holds a Seam::Override for as long as its replacement is to be used.
#pragma once

template <class T>
class Seam {
public:
    constexpr explicit Seam(T standard) : current_(standard) {}
    Seam(const Seam&) = delete;
    Seam& operator=(const Seam&) = delete;

    T Current() const { return current_; }

    // Puts replacement in for its life; the one before comes back when it ends.
    class Override {
    public:
        Override(Seam& seam, T replacement) : seam_(seam), previous_(seam.current_) { seam.current_ = replacement; }
        ~Override() { seam_.current_ = previous_; }
        Override(const Override&) = delete;
        Override& operator=(const Override&) = delete;

    private:
        Seam& seam_;
        T previous_;
    };

private:
    T current_;
};
