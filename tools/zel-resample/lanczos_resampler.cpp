#include "lanczos_resampler.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace {

constexpr int weightBits = 14;
constexpr int weightOne = 1 << weightBits;
constexpr int rounding = 1 << (weightBits - 1);
constexpr double lobes = 3.0;

double lanczos3(double x)
{
    x = std::fabs(x);
    if (x < 1e-9)
        return 1.0;
    if (x >= lobes)
        return 0.0;
    const double px = std::numbers::pi * x;
    return lobes * std::sin(px) * std::sin(px / lobes) / (px * px);
}

// For every output index: the first input index it reads, how many, and the
// fixed-point weights (stride `taps`), which add up to exactly weightOne.
struct FilterBank
{
    int taps = 0;
    std::vector<int> first;
    std::vector<int> count;
    std::vector<std::int16_t> weights;
};

FilterBank makeFilterBank(int inSize, int outSize)
{
    const double scale = static_cast<double>(inSize) / outSize;
    const double widen = std::max(scale, 1.0);
    const double support = lobes * widen;

    FilterBank bank;
    bank.taps = static_cast<int>(std::ceil(support)) * 2 + 1;
    bank.first.resize(outSize);
    bank.count.resize(outSize);
    bank.weights.assign(static_cast<std::size_t>(outSize) * bank.taps, 0);

    std::vector<double> raw(bank.taps);
    for (int i = 0; i < outSize; ++i) {
        const double centre = (i + 0.5) * scale;
        int low = std::max(static_cast<int>(std::floor(centre - support + 0.5)), 0);
        int high = std::min(static_cast<int>(std::floor(centre + support + 0.5)), inSize);
        high = std::min(high, low + bank.taps);
        if (high <= low) { // cannot happen for sane sizes; keep the nearest pixel
            low = std::clamp(static_cast<int>(centre), 0, inSize - 1);
            high = low + 1;
        }
        double sum = 0.0;
        for (int x = low; x < high; ++x) {
            raw[x - low] = lanczos3((x + 0.5 - centre) / widen);
            sum += raw[x - low];
        }
        std::int16_t* w = &bank.weights[static_cast<std::size_t>(i) * bank.taps];
        int fixedSum = 0;
        int largest = 0;
        for (int k = 0; k < high - low; ++k) {
            w[k] = static_cast<std::int16_t>(std::lround(raw[k] / sum * weightOne));
            fixedSum += w[k];
            if (w[k] > w[largest])
                largest = k;
        }
        w[largest] = static_cast<std::int16_t>(w[largest] + weightOne - fixedSum);
        bank.first[i] = low;
        bank.count[i] = high - low;
    }
    return bank;
}

inline std::uint8_t clampToByte(std::int32_t accumulated)
{
    const std::int32_t value = accumulated >> weightBits;
    return static_cast<std::uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value));
}

template <int C>
void resampleRows(const Image& source, Image& target, const FilterBank& bank)
{
    for (int y = 0; y < source.height; ++y) {
        const std::uint8_t* in = source.row(y);
        std::uint8_t* out = target.row(y);
        for (int i = 0; i < target.width; ++i) {
            const std::uint8_t* p = in + static_cast<std::size_t>(bank.first[i]) * C;
            const std::int16_t* w = &bank.weights[static_cast<std::size_t>(i) * bank.taps];
            const int n = bank.count[i];
            std::int32_t acc[C];
            for (int c = 0; c < C; ++c)
                acc[c] = rounding;
            for (int k = 0; k < n; ++k)
                for (int c = 0; c < C; ++c)
                    acc[c] += w[k] * p[k * C + c];
            for (int c = 0; c < C; ++c)
                out[i * C + c] = clampToByte(acc[c]);
        }
    }
}

void resampleColumns(const Image& source, Image& target, const FilterBank& bank)
{
    const std::size_t rowBytes = source.rowBytes();
    std::vector<std::int32_t> acc(rowBytes);
    for (int i = 0; i < target.height; ++i) {
        std::fill(acc.begin(), acc.end(), rounding);
        const std::int16_t* w = &bank.weights[static_cast<std::size_t>(i) * bank.taps];
        for (int k = 0; k < bank.count[i]; ++k) {
            const std::uint8_t* in = source.row(bank.first[i] + k);
            const std::int16_t weight = w[k];
            std::int32_t* a = acc.data();
            // 16 x 16 -> 32-bit products: a multiply every SIMD level has.
            for (std::size_t j = 0; j < rowBytes; ++j)
                a[j] += static_cast<std::int32_t>(weight) * static_cast<std::int16_t>(in[j]);
        }
        std::uint8_t* out = target.row(i);
        for (std::size_t j = 0; j < rowBytes; ++j)
            out[j] = clampToByte(acc[j]);
    }
}

Image resampleHorizontally(const Image& source, int width)
{
    if (width == source.width)
        return source;
    const FilterBank bank = makeFilterBank(source.width, width);
    Image target(width, source.height, source.channels);
    if (source.channels == 1)
        resampleRows<1>(source, target, bank);
    else
        resampleRows<3>(source, target, bank);
    return target;
}

Image resampleVertically(const Image& source, int height)
{
    if (height == source.height)
        return source;
    const FilterBank bank = makeFilterBank(source.height, height);
    Image target(source.width, height, source.channels);
    resampleColumns(source, target, bank);
    return target;
}

} // namespace

Image resampleLanczos3(const Image& source, int width, int height)
{
    // The column pass vectorises well and the row pass does not, so pick the
    // order by estimated cost: a row-pass multiply counts four column-pass ones.
    const auto taps = [](double inSize, double outSize) { return 6.0 * std::max(inSize / outSize, 1.0) + 1.0; };
    const double rowTaps = taps(source.width, width);
    const double columnTaps = taps(source.height, height);
    const double rowsFirst = 4.0 * source.height * width * rowTaps + 1.0 * height * width * columnTaps;
    const double columnsFirst = 1.0 * height * source.width * columnTaps + 4.0 * height * width * rowTaps;
    if (rowsFirst <= columnsFirst)
        return resampleVertically(resampleHorizontally(source, width), height);
    return resampleHorizontally(resampleVertically(source, height), width);
}
