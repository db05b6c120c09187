// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "image.h"

#include <cstdint>
#include <vector>

// Resizes a picture (1 or 3 channels) with a separable Lanczos3 filter while
// its rows arrive one by one, top to bottom, so the full-size source never has
// to be held in memory. When shrinking, the filter is widened by the reduction
// factor so that detail finer than the new pixel spacing is averaged away
// instead of aliasing. Weights are precomputed once per output column and row
// in 14-bit fixed point. Each output row is filtered down the columns first,
// kept with 6 fraction bits and without clipping, and then along the row, so
// the result is that of the exact separable filter up to rounding.
class LanczosResampler {
public:
    // All sizes at least 1.
    LanczosResampler(int inWidth, int inHeight, int outWidth, int outHeight, int channels);

    // Adds the next source row (inWidth * channels samples).
    void addRow(const std::uint8_t* row);

    // The finished picture; call once after all inHeight rows were added.
    Image takeResult();

    struct FilterBank {
        int taps = 0;                      // stride of weights
        std::vector<int> first;            // first input index per output index
        std::vector<int> count;            // inputs used per output index
        std::vector<std::int16_t> weights; // summing to 1 << 14 per output index
    };

private:
    void emitRow(int outRow);

    int m_inWidth;
    int m_channels;
    FilterBank m_rowBank;
    FilterBank m_columnBank;
    std::vector<std::uint8_t> m_ring; // the last m_columnBank.taps source rows
    std::vector<std::int32_t> m_sums;
    std::vector<std::int16_t> m_between; // one row filtered down the columns
    int m_rowsAdded = 0;
    int m_rowsEmitted = 0;
    Image m_result;
};

// Convenience for a picture already in memory.
Image resampleLanczos3(const Image& source, int width, int height);
