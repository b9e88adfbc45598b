#include "plot/sample_column.h"

#include <algorithm>
#include <cmath>

void SampleColumn::Take(SampleRef newValues, std::size_t unchanged) {
    if (!newValues)
        newValues = std::make_shared<const std::vector<float>>();
    const std::size_t n = newValues->size();
    const std::size_t from = newValues == values && unchanged <= count && unchanged <= n ? unchanged : 0;
    values = std::move(newValues);
    count = n;
    const float* v = values->data();
    // Where the first value that is not finite, and the first one out of order (or not finite),
    // lie: before the changed values they stay; from there on they are looked for again, the last
    // value before the changed ones joining them so that the order is checked across the seam.
    const auto firstNotFinite = [&](std::size_t begin) {
        return static_cast<std::size_t>(
            std::find_if(v + begin, v + n, [](float x) { return !std::isfinite(x); }) - v);
    };
    const auto firstOutOfOrder = [&](std::size_t begin) {
        if (plotmath::IsSortedFinite(v + begin, n - begin))
            return n;
        for (std::size_t i = begin; i < n; ++i)
            if (!std::isfinite(v[i]) || (i > begin && v[i] < v[i - 1]))
                return i;
        return n;
    };
    if (from == 0 || notFiniteAt >= from)
        notFiniteAt = firstNotFinite(from);
    if (from == 0 || outOfOrderAt >= from)
        outOfOrderAt = firstOutOfOrder(from > 0 ? from - 1 : 0);
    const bool wasFinite = from > 0 && finite;
    finite = notFiniteAt >= n;
    sorted = outOfOrderAt >= n;

    if (extremes && finite) {
        if (from > 0 && wasFinite)
            pyramid.Extend(v, from, n);
        else
            pyramid.Build(v, n);
    } else {
        pyramid.Clear();
    }
    // The range without a pass over the samples wherever the ends or the extremes give it.
    any = n > 0;
    if (!any)
        return;
    if (sorted) {
        lo = v[0];
        hi = v[n - 1];
    } else if (extremes && finite) {
        pyramid.Query(v, 0, n, lo, hi);
    } else {
        any = plotmath::FiniteValueRange(v, n, lo, hi);
    }
}

ColumnRef CopiedColumn(const std::vector<float>& values, bool extremes) {
    auto column = std::make_shared<SampleColumn>(extremes);
    column->Take(std::make_shared<const std::vector<float>>(values));
    return column;
}
