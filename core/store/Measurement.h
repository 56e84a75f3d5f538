#pragma once

// How the device measures, as its parameter bytes say: the weighting of the
// analysis (Param_Block element 6, history field 7) and the input source with
// its own weighting (element 7, field 8). Both are read bit by bit, so every
// byte value has one answer, whichever view asks.

#include "store/Layout.h"

namespace kvl {

enum class Weighting { Flat, M, A };
enum class InputSource { Sensor, Line };

// Bits 2-3: 8 = M weighted, 12 = A weighted, 0 or 4 = flat.
constexpr Weighting weightingOf(int byte)
{
    switch (byte & block::WeightingMask) {
    case block::WeightingM:
        return Weighting::M;
    case block::WeightingA:
        return Weighting::A;
    default:
        return Weighting::Flat;
    }
}

// Bit 0 of the source byte.
constexpr InputSource inputSourceOf(int sourceByte)
{
    return (sourceByte & block::LineInputBit) ? InputSource::Line : InputSource::Sensor;
}

// Bit 4 of the analysis byte.
constexpr bool filterCardOf(int analysisByte)
{
    return (analysisByte & block::FilterCardBit) != 0;
}

struct Measurement
{
    Weighting analysis = Weighting::Flat;
    bool filterCard = false;
    InputSource source = InputSource::Sensor;
    Weighting sourceWeighting = Weighting::Flat;
};

constexpr Measurement measurementOf(int analysisByte, int sourceByte)
{
    return {weightingOf(analysisByte), filterCardOf(analysisByte), inputSourceOf(sourceByte),
            weightingOf(sourceByte)};
}

} // namespace kvl
