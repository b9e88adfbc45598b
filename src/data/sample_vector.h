#pragma once

#include <cstddef>
#include <memory>
#include <vector>

// One series of a record (times, flows, ...), held so that the chart can read it where it lies
// instead of copying millions of samples: the record owns it as a value (a copy of the record
// copies its samples), the chart shares it (Shared()) and keeps it alive until it loads another
// record, seeing every sample the record appends.
class SampleVector {
public:
    using Ref = std::shared_ptr<const std::vector<float>>;

    SampleVector() : v(std::make_shared<std::vector<float>>()) {}
    SampleVector(const SampleVector& other) : v(std::make_shared<std::vector<float>>(other.Get())) {}
    SampleVector& operator=(const SampleVector& other) {
        if (this != &other)
            v = std::make_shared<std::vector<float>>(other.Get());
        return *this;
    }
    // A moved-from series is empty and has none of the samples it handed on.
    SampleVector(SampleVector&& other) noexcept : v(std::move(other.v)) {}
    SampleVector& operator=(SampleVector&& other) noexcept {
        v = std::move(other.v);
        return *this;
    }
    // New contents in the same place (a chart sharing it sees them).
    SampleVector& operator=(const std::vector<float>& values) {
        Mutable() = values;
        return *this;
    }

    const std::vector<float>& Get() const { return v ? *v : Empty(); }
    operator const std::vector<float>&() const { return Get(); }
    Ref Shared() const { return v ? Ref(v) : Ref(Ref(), &Empty()); }

    std::size_t size() const { return Get().size(); }
    bool empty() const { return Get().empty(); }
    float operator[](std::size_t i) const { return Get()[i]; }
    float& operator[](std::size_t i) { return Mutable()[i]; }
    float front() const { return Get().front(); }
    float back() const { return Get().back(); }
    void push_back(float value) { Mutable().push_back(value); }
    void reserve(std::size_t n) { Mutable().reserve(n); }
    std::size_t capacity() const { return Get().capacity(); }

private:
    static const std::vector<float>& Empty() {
        static const std::vector<float> none;
        return none;
    }
    std::vector<float>& Mutable() {
        if (!v)
            v = std::make_shared<std::vector<float>>();
        return *v;
    }
    std::shared_ptr<std::vector<float>> v;
};
