// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "resample_arguments.h"

// Reads the source picture, turns it upright, resamples it to exactly the
// requested size and writes it as a baseline JPEG to the destination, which
// appears only when complete. Throws ResampleError on any failure.
void runResample(const ResampleArguments& request);
