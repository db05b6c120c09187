// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "lanczos_resampler.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int weightBits = 14;
constexpr int weightOne = 1 << weightBits;
constexpr int fractionBits = 6;
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

LanczosResampler::FilterBank makeFilterBank(int inSize, int outSize)
{
    const double scale = static_cast<double>(inSize) / outSize;
    const double widen = std::max(scale, 1.0);
    const double support = lobes * widen;

    LanczosResampler::FilterBank bank;
    bank.taps = std::min(static_cast<int>(std::ceil(support)) * 2 + 1, inSize);
    bank.first.resize(outSize);
    bank.count.resize(outSize);
    bank.weights.assign(static_cast<std::size_t>(outSize) * bank.taps, 0);

    std::vector<double> raw(bank.taps);
    for (int i = 0; i < outSize; ++i) {
        const double centre = (i + 0.5) * scale;
        const int low = std::clamp(static_cast<int>(std::floor(centre - support + 0.5)), 0, inSize - 1);
        int high = std::min(static_cast<int>(std::floor(centre + support + 0.5)), inSize);
        high = std::clamp(high, low + 1, low + bank.taps);
        double sum = 0.0;
        for (int x = low; x < high; ++x) {
            raw[x - low] = lanczos3((x + 0.5 - centre) / widen);
            sum += raw[x - low];
        }
        if (std::fabs(sum) < 1e-9) { // only when a window holds nothing but zero crossings
            std::fill(raw.begin(), raw.end(), 1.0);
            sum = high - low;
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

inline std::uint8_t toByte(std::int32_t accumulated, int shift)
{
    const std::int32_t value = (accumulated + (1 << (shift - 1))) >> shift;
    return static_cast<std::uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value));
}

inline std::int16_t toFixed(std::int32_t accumulated, int shift)
{
    const std::int32_t value = (accumulated + (1 << (shift - 1))) >> shift;
    return static_cast<std::int16_t>(std::clamp<std::int32_t>(value, -32768, 32767));
}

// sums[j] += weight * row[j]: the inner loop of the column pass, built for
// AVX2 as well where the processor has it.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
void accumulate(std::int32_t* sums, const std::uint8_t* row, std::size_t count, std::int16_t weight)
{
    // 16 x 16 -> 32-bit products: a multiply every SIMD level has.
    for (std::size_t j = 0; j < count; ++j)
        sums[j] += static_cast<std::int32_t>(weight) * static_cast<std::int16_t>(row[j]);
}

template <int C>
void filterRow(const std::int16_t* in, std::uint8_t* out, const LanczosResampler::FilterBank& bank)
{
    const int outWidth = static_cast<int>(bank.first.size());
    constexpr int shift = weightBits + fractionBits;
    for (int i = 0; i < outWidth; ++i) {
        const std::int16_t* p = in + static_cast<std::size_t>(bank.first[i]) * C;
        const std::int16_t* w = &bank.weights[static_cast<std::size_t>(i) * bank.taps];
        const int n = bank.count[i];
        std::int32_t acc[C] = {};
        for (int k = 0; k < n; ++k)
            for (int c = 0; c < C; ++c)
                acc[c] += static_cast<std::int32_t>(w[k]) * p[k * C + c];
        for (int c = 0; c < C; ++c)
            out[i * C + c] = toByte(acc[c], shift);
    }
}

} // namespace

LanczosResampler::LanczosResampler(int inWidth, int inHeight, int outWidth, int outHeight, int channels)
    : m_inWidth(inWidth), m_channels(channels), m_rowBank(makeFilterBank(inWidth, outWidth)),
      m_columnBank(makeFilterBank(inHeight, outHeight)),
      m_ring(static_cast<std::size_t>(m_columnBank.taps) * inWidth * channels),
      m_sums(static_cast<std::size_t>(inWidth) * channels), m_between(static_cast<std::size_t>(inWidth) * channels),
      m_result(outWidth, outHeight, channels)
{}

void LanczosResampler::addRow(const std::uint8_t* row)
{
    const std::size_t rowSamples = static_cast<std::size_t>(m_inWidth) * m_channels;
    std::copy_n(row, rowSamples, &m_ring[static_cast<std::size_t>(m_rowsAdded % m_columnBank.taps) * rowSamples]);
    ++m_rowsAdded;
    // An output row is due as soon as the last source row it reads is here.
    while (m_rowsEmitted < m_result.height
           && m_columnBank.first[m_rowsEmitted] + m_columnBank.count[m_rowsEmitted] <= m_rowsAdded)
        emitRow(m_rowsEmitted++);
}

void LanczosResampler::emitRow(int outRow)
{
    const std::size_t rowSamples = m_sums.size();
    std::fill(m_sums.begin(), m_sums.end(), 0);
    const std::int16_t* w = &m_columnBank.weights[static_cast<std::size_t>(outRow) * m_columnBank.taps];
    for (int k = 0; k < m_columnBank.count[outRow]; ++k) {
        const int sourceRow = m_columnBank.first[outRow] + k;
        const std::uint8_t* in = &m_ring[static_cast<std::size_t>(sourceRow % m_columnBank.taps) * rowSamples];
        accumulate(m_sums.data(), in, rowSamples, w[k]);
    }
    for (std::size_t j = 0; j < rowSamples; ++j)
        m_between[j] = toFixed(m_sums[j], weightBits - fractionBits);

    if (m_channels == 1)
        filterRow<1>(m_between.data(), m_result.row(outRow), m_rowBank);
    else
        filterRow<3>(m_between.data(), m_result.row(outRow), m_rowBank);
}

Image LanczosResampler::takeResult() { return std::move(m_result); }

Image resampleLanczos3(const Image& source, int width, int height)
{
    LanczosResampler resampler(source.width, source.height, width, height, source.channels);
    for (int y = 0; y < source.height; ++y)
        resampler.addRow(source.row(y));
    return resampler.takeResult();
}
