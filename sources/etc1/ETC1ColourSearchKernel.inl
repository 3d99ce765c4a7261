// One instruction-set build of the colour searches (ETC1ColourSearch.h).
//
// The including file defines SWEEP_TARGET, the target attribute every function
// here carries, and SWEEP_WIDTH, the lanes of its native vector (16 for AVX-512,
// 8 for AVX2, 4 for SSE2), then includes this file inside an anonymous namespace:
// each build stays private to its file, and shared inline code is never built
// for a processor that may lack the instructions.
//
// Layout of an error entry: pixel p, modifier slot k, table row q at p*32 + k*8 + q,
// so that the eight table rows of one pixel and slot lie side by side. A "line"
// is one R code and one G code with the B codes in the table lanes; a "bound
// line" is one R code with the G codes in the lanes and each entry's smallest B
// error. The 16 table lanes are worked in chunks of the native width, except
// that 16-lane builds work a line whose codes fill only half the lanes in 8.

constexpr int32_t kWidth = SWEEP_WIDTH;
constexpr int32_t kChunks = kLanes / kWidth;
constexpr int32_t kEntriesPerPixel = kErrorEntries / kHalfPixels;
constexpr int32_t kSlots = kEntriesPerPixel / kTableRows;

typedef uint32_t Lanes __attribute__((vector_size(4 * kWidth)));
typedef int32_t SignedLanes __attribute__((vector_size(4 * kWidth)));
// One value per table row.
typedef uint32_t RowSums __attribute__((vector_size(4 * kTableRows)));

SWEEP_TARGET inline constexpr int32_t Entry(int32_t pixel, int32_t slot, int32_t row) {
    return pixel * kEntriesPerPixel + slot * kTableRows + row;
}

template <typename Vector>
SWEEP_TARGET inline Vector Smaller(Vector a, Vector b) {
    return a < b ? a : b;
}

SWEEP_TARGET inline SignedLanes ClampToByte(SignedLanes value) {
    const SignedLanes zero = SignedLanes{} + 0;
    const SignedLanes top = zero + 255;
    value = value < zero ? zero : value;
    return value > top ? top : value;
}

// Bit n set when lane n of `value` lies below lane n of `cutoff`.
SWEEP_TARGET inline uint32_t LanesBelow(Lanes value, Lanes cutoff) {
#if SWEEP_WIDTH == 16
    return _mm512_cmplt_epu32_mask(reinterpret_cast<__m512i>(value), reinterpret_cast<__m512i>(cutoff));
#elif SWEEP_WIDTH == 8
    return static_cast<uint32_t>(_mm256_movemask_ps(reinterpret_cast<__m256>(value < cutoff)));
#elif BWVOQ_X86_KERNELS
    return static_cast<uint32_t>(_mm_movemask_ps(reinterpret_cast<__m128>(value < cutoff)));
#else
    uint32_t below = 0;
    for (int32_t lane = 0; lane < kWidth; ++lane) below |= (value[lane] < cutoff[lane] ? 1u : 0u) << lane;
    return below;
#endif
}

#if SWEEP_WIDTH == 16
// Eight lanes, for lines whose lanes all lie in one half of the sixteen.
typedef uint32_t HalfChunk __attribute__((vector_size(32)));

SWEEP_TARGET inline uint32_t LanesBelow(HalfChunk value, HalfChunk cutoff) {
    return static_cast<uint32_t>(_mm256_movemask_ps(reinterpret_cast<__m256>(value < cutoff)));
}
#endif

template <typename Vector = Lanes>
SWEEP_TARGET inline Vector LoadLanes(const uint32_t* source) {
    Vector lanes;
    __builtin_memcpy(&lanes, source, sizeof lanes);
    return lanes;
}

template <typename Vector>
SWEEP_TARGET inline void StoreLanes(uint32_t* destination, Vector lanes) {
    __builtin_memcpy(destination, &lanes, sizeof lanes);
}

SWEEP_TARGET inline SignedLanes LoadSigned(const int32_t* source) {
    SignedLanes lanes;
    __builtin_memcpy(&lanes, source, sizeof lanes);
    return lanes;
}

SWEEP_TARGET inline RowSums LoadRowSums(const uint32_t* source) {
    RowSums sums;
    __builtin_memcpy(&sums, source, sizeof sums);
    return sums;
}

// Lane numbers of chunk `chunk` of the 16 table lanes.
SWEEP_TARGET inline Lanes LaneIndex(int32_t chunk) {
    Lanes index;
    for (int32_t lane = 0; lane < kWidth; ++lane) index[lane] = static_cast<uint32_t>(chunk * kWidth + lane);
    return index;
}

// All ones in the lanes of chunk `chunk` whose bit is set in `mask`.
SWEEP_TARGET inline Lanes LanesOf(uint32_t mask, int32_t chunk) {
    return reinterpret_cast<Lanes>(((Lanes{} + mask) >> LaneIndex(chunk) & 1) != 0);
}

SWEEP_TARGET inline int32_t ExpandCode(int32_t bits, int32_t code) {
    return bits == 5 ? Expand5(code) : Expand4(code);
}

// The square of a difference of at most 255 in size: a 16-bit multiply of its
// magnitude, which the upper half-lanes (zero) leave exact.
SWEEP_TARGET inline Lanes Square(SignedLanes difference) {
    typedef uint16_t HalfLanes __attribute__((vector_size(4 * kWidth)));
    HalfLanes magnitude = reinterpret_cast<HalfLanes>(difference < 0 ? -difference : difference);
    return reinterpret_cast<Lanes>(magnitude * magnitude);
}

// weight * difference^2 per lane.
SWEEP_TARGET inline Lanes WeightedSquare(SignedLanes difference, uint32_t weight) {
    Lanes square = Square(difference);
    return weight == 1 ? square : square * weight;
}

// The candidate values of one colour value for the entries of a pixel, kWidth at a time.
SWEEP_TARGET inline void EntryCandidates(int32_t colour, SignedLanes (&candidates)[kEntriesPerPixel / kWidth]) {
    for (int32_t vector = 0; vector < kEntriesPerPixel / kWidth; ++vector) {
        candidates[vector] = ClampToByte(LoadSigned(kEntryModifiers.value + vector * kWidth) + colour);
    }
}

// One channel's errors for one colour value over every entry of `pixels`, into `row`.
template <int32_t kPixels>
SWEEP_TARGET void FillCodeRow(const int32_t (*pixels)[3], int32_t channel, uint32_t weight, int32_t colour,
                              uint32_t* row) {
    constexpr int32_t kVectors = kEntriesPerPixel / kWidth;
    SignedLanes candidates[kVectors];
    EntryCandidates(colour, candidates);
    for (int32_t pixel = 0; pixel < kPixels; ++pixel) {
        SignedLanes value = SignedLanes{} + pixels[pixel][channel];
        for (int32_t vector = 0; vector < kVectors; ++vector) {
            StoreLanes(row + pixel * kEntriesPerPixel + vector * kWidth, WeightedSquare(value - candidates[vector], weight));
        }
    }
}

// Makes both quarters of the half hold G code `code`'s errors.
SWEEP_TARGET void EnsureGreen(HalfTables& tables, int32_t code) {
    if ((tables.builtGreen >> code & 1) != 0) return;
    for (QuarterTables* quarter : tables.parts) {
        if ((quarter->builtGreen >> code & 1) != 0) continue;
        FillCodeRow<kQuarterPixels>(quarter->pixels, 1, tables.weights[1], ExpandCode(tables.bits, code),
                                    quarter->green + code * kQuarterEntries);
        quarter->builtGreen |= 1u << code;
    }
    tables.builtGreen |= 1u << code;
}

// A pixel's entries of one code in its quarter's per-code table (pixelRed or pixelGreen).
SWEEP_TARGET inline const uint32_t* PixelEntries(const uint32_t* const (&pixelTable)[kHalfPixels], int32_t code,
                                                 int32_t pixel) {
    return pixelTable[pixel] + code * kQuarterEntries;
}

// The least of each table row over the four slots of one pixel's entries.
SWEEP_TARGET inline RowSums LeastOverSlots(const Lanes (&entries)[kEntriesPerPixel / kWidth]) {
#if SWEEP_WIDTH == 16
    Lanes least = Smaller(entries[0], entries[1]);
    RowSums low = __builtin_shufflevector(least, least, 0, 1, 2, 3, 4, 5, 6, 7);
    RowSums high = __builtin_shufflevector(least, least, 8, 9, 10, 11, 12, 13, 14, 15);
    return low < high ? low : high;
#elif SWEEP_WIDTH == 8
    return Smaller(Smaller(entries[0], entries[1]), Smaller(entries[2], entries[3]));
#else
    Lanes low = Smaller(Smaller(entries[0], entries[2]), Smaller(entries[4], entries[6]));
    Lanes high = Smaller(Smaller(entries[1], entries[3]), Smaller(entries[5], entries[7]));
    return __builtin_shufflevector(low, high, 0, 1, 2, 3, 4, 5, 6, 7);
#endif
}

// Distances need 16 bits: half-width lanes hold twice the entries.
typedef int16_t Distances __attribute__((vector_size(4 * kWidth)));
constexpr int32_t kDistancesPerPixel = kEntriesPerPixel / (2 * kWidth);

// weight * distance^2 of every entry: distances of at most 255 square exactly in 16 bits.
template <int32_t kPixels>
SWEEP_TARGET void StoreWeightedSquares(const Distances (&distances)[kPixels * kDistancesPerPixel], uint32_t weight,
                                       uint32_t* destination) {
    typedef uint16_t Squares __attribute__((vector_size(4 * kWidth)));
    typedef uint16_t NarrowSquares __attribute__((vector_size(2 * kWidth)));
    for (int32_t vector = 0; vector < kPixels * kDistancesPerPixel; ++vector) {
        Squares magnitude = reinterpret_cast<Squares>(distances[vector]);
        Squares squares = magnitude * magnitude;
        NarrowSquares halves[2];
        __builtin_memcpy(halves, &squares, sizeof halves);
        for (int32_t half = 0; half < 2; ++half) {
            Lanes wide = __builtin_convertvector(halves[half], Lanes);
            StoreLanes(destination + (2 * vector + half) * kWidth, weight == 1 ? wide : wide * weight);
        }
    }
}

// The least error of each entry of `pixels` over one channel's codes of the
// box: that of the pixel's nearest code clamped into the box (ETC1ColourSearchNearestCodes.h).
template <int32_t kPixels>
SWEEP_TARGET void FillSmallest(const HalfTables& tables, const int32_t (*pixels)[3], int32_t channel,
                               uint32_t* smallest) {
    typedef uint8_t Codes __attribute__((vector_size(2 * kWidth)));
    const Distances low = Distances{} + static_cast<int16_t>(tables.box.low[channel]);
    const Distances high = Distances{} + static_cast<int16_t>(tables.box.high[channel]);
    const bool fiveBits = tables.bits == 5;
    Distances modifiers[kDistancesPerPixel];
    __builtin_memcpy(modifiers, kNarrowEntryModifiers.value, sizeof modifiers);
    Distances least[kPixels * kDistancesPerPixel];
    for (int32_t pixel = 0; pixel < kPixels; ++pixel) {
        const int32_t value = pixels[pixel][channel];
        const uint8_t* nearest = kNearestCodes.code[fiveBits ? 1 : 0][value];
        for (int32_t vector = 0; vector < kDistancesPerPixel; ++vector) {
            Codes codes;
            __builtin_memcpy(&codes, nearest + vector * 2 * kWidth, sizeof codes);
            Distances code = __builtin_convertvector(codes, Distances);
            code = code < low ? low : code;
            code = code > high ? high : code;
            Distances candidate = (fiveBits ? (code << 3 | code >> 2) : (code << 4 | code)) + modifiers[vector];
            candidate = candidate < 0 ? Distances{} : candidate;
            candidate = candidate > 255 ? Distances{} + 255 : candidate;
            Distances difference = static_cast<int16_t>(value) - candidate;
            least[pixel * kDistancesPerPixel + vector] = difference < 0 ? -difference : difference;
        }
    }
    StoreWeightedSquares<kPixels>(least, tables.weights[channel], smallest);
}

// The least G and B errors of each entry of `pixels`, added, into `others`; the least B errors into `blue`.
template <int32_t kPixels>
SWEEP_TARGET void FillOthers(const HalfTables& tables, const int32_t (*pixels)[3], uint32_t* others, uint32_t* blue) {
    FillSmallest<kPixels>(tables, pixels, 1, others);
    FillSmallest<kPixels>(tables, pixels, 2, blue);
    for (int32_t entry = 0; entry < kPixels * kEntriesPerPixel; entry += kWidth) {
        StoreLanes(others + entry, LoadLanes(others + entry) + LoadLanes(blue + entry));
    }
}

// The R values of some pixels, one per lane, and the R weight: kept out of
// the tables so that stores into the rows do not make them reload.
struct RedPixels {
    SignedLanes values[kHalfPixels];
    uint32_t weight;
};

SWEEP_TARGET RedPixels GatherRed(const int32_t (*pixels)[3], int32_t count, uint32_t weight) {
    RedPixels red{};
    for (int32_t pixel = 0; pixel < count; ++pixel) red.values[pixel] = SignedLanes{} + pixels[pixel][0];
    red.weight = weight;
    return red;
}

// One R code's errors of pixels [begin, end), into `row` when kStore, and per
// table row the sum over those pixels of the least over the slots of the R
// error plus `others` (the least G and B errors).
template <bool kStore>
SWEEP_TARGET inline RowSums RedRowSums(const RedPixels& red, const SignedLanes (&candidates)[kEntriesPerPixel / kWidth],
                                       const uint32_t* others, uint32_t* row, int32_t begin, int32_t end) {
    RowSums sums{};
    for (int32_t pixel = begin; pixel < end; ++pixel) {
        Lanes totals[kEntriesPerPixel / kWidth];
        for (int32_t vector = 0; vector < kEntriesPerPixel / kWidth; ++vector) {
            int32_t entry = pixel * kEntriesPerPixel + vector * kWidth;
            Lanes errors = WeightedSquare(red.values[pixel] - candidates[vector], red.weight);
            if (kStore) StoreLanes(row + entry, errors);
            totals[vector] = errors + LoadLanes(others + entry);
        }
        sums += LeastOverSlots(totals);
    }
    return sums;
}

// RedRowSums of pixels whose R errors are in `row` already.
SWEEP_TARGET inline RowSums StoredRedRowSums(const uint32_t* row, const uint32_t* others, int32_t begin, int32_t end) {
    RowSums sums{};
    for (int32_t pixel = begin; pixel < end; ++pixel) {
        Lanes totals[kEntriesPerPixel / kWidth];
        for (int32_t vector = 0; vector < kEntriesPerPixel / kWidth; ++vector) {
            int32_t entry = pixel * kEntriesPerPixel + vector * kWidth;
            totals[vector] = LoadLanes(row + entry) + LoadLanes(others + entry);
        }
        sums += LeastOverSlots(totals);
    }
    return sums;
}

SWEEP_TARGET uint32_t LeastRowSum(RowSums sums) {
    uint32_t least = sums[0];
    for (int32_t row = 1; row < kTableRows; ++row) least = sums[row] < least ? sums[row] : least;
    return least;
}

// Brings a quarter (its pixels in quarter order) up to the tables' measure,
// code width and box, working out only what it does not hold yet.
SWEEP_TARGET void FillQuarter(const HalfTables& tables, const int32_t (&pixels)[kQuarterPixels][3],
                              QuarterTables& quarter) {
    __builtin_memcpy(quarter.pixels, pixels, sizeof quarter.pixels);
    if (quarter.measure != tables.measure || quarter.bits != tables.bits) {
        quarter.measure = tables.measure;
        quarter.bits = tables.bits;
        quarter.builtRed = 0;
        quarter.builtGreen = 0;
        quarter.othersKnown = false;
    }
    bool sameOthers = quarter.othersKnown;
    for (int32_t channel = 1; channel < 3; ++channel) {
        sameOthers = sameOthers && quarter.low[channel - 1] == tables.box.low[channel] &&
                     quarter.high[channel - 1] == tables.box.high[channel];
    }
    if (!sameOthers) {
        FillOthers<kQuarterPixels>(tables, pixels, quarter.others, quarter.smallestBlue);
        for (int32_t channel = 1; channel < 3; ++channel) {
            quarter.low[channel - 1] = tables.box.low[channel];
            quarter.high[channel - 1] = tables.box.high[channel];
        }
        quarter.othersKnown = true;
        quarter.builtSums = 0;
    }
    const RedPixels red = GatherRed(pixels, kQuarterPixels, tables.weights[0]);
    for (int32_t code = tables.box.low[0]; code <= tables.box.high[0]; ++code) {
        if ((quarter.builtSums >> code & 1) != 0) continue;
        RowSums sums;
        if ((quarter.builtRed >> code & 1) != 0) {
            sums = StoredRedRowSums(quarter.red + code * kQuarterEntries, quarter.others, 0, kQuarterPixels);
        } else {
            SignedLanes candidates[kEntriesPerPixel / kWidth];
            EntryCandidates(ExpandCode(tables.bits, code), candidates);
            sums = RedRowSums<true>(red, candidates, quarter.others, quarter.red + code * kQuarterEntries, 0, kQuarterPixels);
            quarter.builtRed |= 1u << code;
        }
        __builtin_memcpy(quarter.rowSums[code], &sums, sizeof sums);
        quarter.builtSums |= 1u << code;
    }
}

// Tall at column 0 and 2, then wide at row 0 and 2, as pairs of quarters.
constexpr int32_t kHalfQuarters[4][2] = {{0, 2}, {1, 3}, {0, 1}, {2, 3}};

// Where each pixel of a half lies in its two quarters: a tall half's pixels 0,
// 1, 4, 5 in its top quarter and 2, 3, 6, 7 in its bottom one; a wide half's 0-3
// in its left quarter and 4-7 in its right.
struct QuarterPlace {
    int32_t part;
    int32_t slot;
};
constexpr QuarterPlace kQuarterPlaces[2][kHalfPixels] = {
    {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}},
    {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {1, 0}, {1, 1}, {1, 2}, {1, 3}},
};

// The half's quarters, brought up to its tables, and the row bounds that follow.
SWEEP_TARGET void PrepareRowBounds(HalfTables& tables, BlockQuarters& quarters, int32_t first) {
    const int32_t shape = tables.shape == HalfShape::Tall ? 0 : 1;
    const int32_t* pair = kHalfQuarters[2 * shape + first / 2];
    int32_t pixels[2][kQuarterPixels][3];
    for (int32_t pixel = 0; pixel < kHalfPixels; ++pixel) {
        const QuarterPlace place = kQuarterPlaces[shape][pixel];
        QuarterTables& quarter = quarters.quarter[pair[place.part]];
        tables.parts[place.part] = &quarter;
        tables.pixelRed[pixel] = quarter.red + place.slot * kEntriesPerPixel;
        tables.pixelGreen[pixel] = quarter.green + place.slot * kEntriesPerPixel;
        tables.pixelBlue[pixel] = quarter.smallestBlue + place.slot * kEntriesPerPixel;
        for (int32_t channel = 0; channel < 3; ++channel) {
            pixels[place.part][place.slot][channel] = tables.pixels.pixel[pixel][channel];
        }
    }
    for (int32_t part = 0; part < 2; ++part) FillQuarter(tables, pixels[part], quarters.quarter[pair[part]]);
    RowSums lowest = ~RowSums{};
    for (int32_t code = tables.box.low[0]; code <= tables.box.high[0]; ++code) {
        RowSums sums = LoadRowSums(quarters.quarter[pair[0]].rowSums[code]) +
                       LoadRowSums(quarters.quarter[pair[1]].rowSums[code]);
        __builtin_memcpy(tables.rowBounds[code - tables.box.low[0]], &sums, sizeof sums);
        lowest = sums < lowest ? sums : lowest;
    }
    tables.lowest = LeastRowSum(lowest);
}

// The table rows in which some candidate with R code `red` may get below `limit` (internal units).
SWEEP_TARGET inline uint32_t RowsBelow(const HalfTables& tables, int32_t red, uint32_t limit) {
    RowSums bounds = LoadRowSums(tables.rowBounds[red - tables.box.low[0]]);
    RowSums below = bounds < (RowSums{} + limit);
#if SWEEP_WIDTH >= 8
    return static_cast<uint32_t>(_mm256_movemask_ps(reinterpret_cast<__m256>(below)));
#else
    uint32_t rows = 0;
    for (int32_t row = 0; row < kTableRows; ++row) rows |= (below[row] & 1u) << row;
    return rows;
#endif
}

SWEEP_TARGET void AssignLanes(HalfTables& tables, int32_t table, int32_t channel, int32_t firstLane) {
    int32_t low = tables.box.low[channel], high = tables.box.high[channel];
    for (int32_t lane = firstLane; lane < kLanes; ++lane) {
        int32_t code = low + lane - firstLane <= high ? low + lane - firstLane : high;
        tables.laneColours[table][lane] = ExpandCode(tables.bits, code);
        tables.laneChannels[table][lane] = channel;
        tables.laneWeights[table][lane] = tables.weights[channel];
    }
}

SWEEP_TARGET void PrepareLanes(HalfTables& tables) {
    const int32_t half = kLanes / 2;
    bool shared = tables.box.high[1] - tables.box.low[1] < half && tables.box.high[2] - tables.box.low[2] < half;
    tables.blueTable = shared ? 0 : 1;
    tables.blueLane = shared ? half : 0;
    tables.builtLaneRows[0] = 0;
    tables.builtLaneRows[1] = 0;
    AssignLanes(tables, 0, 1, 0);
    AssignLanes(tables, tables.blueTable, 2, tables.blueLane);
}

// Errors of table row `row` for the lanes' codes of lanes[table], chunk by chunk.
SWEEP_TARGET void FillLaneRow(HalfTables& tables, int32_t table, int32_t row) {
    bool weighted = tables.measure == ErrorMeasure::Perceptual;
    uint32_t (*lanes)[kLanes] = tables.lanes[table];
    for (int32_t chunk = 0; chunk < kChunks; ++chunk) {
        const int32_t first = chunk * kWidth;
        SignedLanes isBlue = LoadSigned(tables.laneChannels[table] + first) == 2;
        Lanes weights = LoadLanes(tables.laneWeights[table] + first);
        SignedLanes colours = LoadSigned(tables.laneColours[table] + first);
        SignedLanes candidates[kSlots];
        for (int32_t slot = 0; slot < kSlots; ++slot) {
            candidates[slot] = ClampToByte(colours + ETC1ModifierTable[row][slot]);
        }
        for (int32_t pixel = 0; pixel < kHalfPixels; ++pixel) {
            const int32_t* colour = tables.pixels.pixel[pixel];
            SignedLanes value = isBlue != 0 ? SignedLanes{} + colour[2] : SignedLanes{} + colour[1];
            for (int32_t slot = 0; slot < kSlots; ++slot) {
                Lanes square = Square(value - candidates[slot]);
                StoreLanes(lanes[Entry(pixel, slot, row)] + first, weighted ? square * weights : square);
            }
        }
    }
}

// Fills the table rows of `rows` that lanes[table] does not hold yet.
SWEEP_TARGET void EnsureLaneRows(HalfTables& tables, int32_t table, uint32_t rows) {
    for (uint32_t missing = rows & ~tables.builtLaneRows[table]; missing != 0; missing &= missing - 1) {
        FillLaneRow(tables, table, __builtin_ctz(missing));
    }
    tables.builtLaneRows[table] |= rows;
}

// What every table of a half is built from.
SWEEP_TARGET void SetUp(HalfTables& tables, const HalfPixels& half, ErrorMeasure measure, HalfShape shape, int32_t bits,
                        const CodeBox& box) {
    static constexpr uint32_t kPerceptualWeights[3] = {299, 587, 114};
    tables.measure = measure;
    tables.shape = shape;
    tables.bits = bits;
    tables.box = box;
    tables.pixels = half;
    for (int32_t channel = 0; channel < 3; ++channel) {
        tables.weights[channel] = measure == ErrorMeasure::Plain ? 1 : kPerceptualWeights[channel];
    }
}

SWEEP_TARGET void Prepare(HalfTables& tables, BlockQuarters& quarters, const HalfPixels& half, int32_t first,
                          ErrorMeasure measure, HalfShape shape, int32_t bits, const CodeBox& box) {
    SetUp(tables, half, measure, shape, bits, box);
    tables.builtGreen = 0;
    PrepareRowBounds(tables, quarters, first);
    PrepareLanes(tables);
}

// Each pixel's part of a row bound does not depend on the half it is taken
// in: the wide halves' pixels, summed per quarter of the block, give all four
// halves' least sums. Pixels 0-3 of a wide half lie in columns 0-1, 4-7 in 2-3.
SWEEP_TARGET void HalfLowests(HalfTables& scratch, const uint8_t* block, ErrorMeasure measure, int32_t bits,
                              const CodeBox& box, uint32_t lowest[4]) {
    const int32_t codes = box.high[0] - box.low[0] + 1;
    RowSums quarters[4][kMaxCodesPerChannel];  // top left, top right, bottom left, bottom right
    for (int32_t wide = 0; wide < 2; ++wide) {
        SetUp(scratch, GatherHalf(block, HalfShape::Wide, 2 * wide), measure, HalfShape::Wide, bits, box);
        alignas(64) uint32_t others[kErrorEntries];
        alignas(64) uint32_t blue[kErrorEntries];
        FillOthers<kHalfPixels>(scratch, scratch.pixels.pixel, others, blue);
        const RedPixels red = GatherRed(scratch.pixels.pixel, kHalfPixels, scratch.weights[0]);
        for (int32_t index = 0; index < codes; ++index) {
            SignedLanes candidates[kEntriesPerPixel / kWidth];
            EntryCandidates(ExpandCode(bits, box.low[0] + index), candidates);
            quarters[2 * wide][index] = RedRowSums<false>(red, candidates, others, nullptr, 0, kQuarterPixels);
            quarters[2 * wide + 1][index] = RedRowSums<false>(red, candidates, others, nullptr, kQuarterPixels, kHalfPixels);
        }
    }
    for (int32_t half = 0; half < 4; ++half) {
        RowSums least = ~RowSums{};
        for (int32_t index = 0; index < codes; ++index) {
            RowSums sums = quarters[kHalfQuarters[half][0]][index] + quarters[kHalfQuarters[half][1]][index];
            least = sums < least ? sums : least;
        }
        lowest[half] = LeastRowSum(least);
    }
}

// A bound on HalfLowests from each entry's least R error over the box's R
// codes, as G and B have theirs: one R code per pixel instead of one per half.
SWEEP_TARGET void HalfLowerBounds(HalfTables& scratch, const uint8_t* block, ErrorMeasure measure, int32_t bits,
                                  const CodeBox& box, uint32_t bounds[4]) {
    RowSums quarters[4];
    for (int32_t wide = 0; wide < 2; ++wide) {
        SetUp(scratch, GatherHalf(block, HalfShape::Wide, 2 * wide), measure, HalfShape::Wide, bits, box);
        alignas(64) uint32_t others[kErrorEntries];
        alignas(64) uint32_t blue[kErrorEntries];
        alignas(64) uint32_t red[kErrorEntries];
        FillOthers<kHalfPixels>(scratch, scratch.pixels.pixel, others, blue);
        FillSmallest<kHalfPixels>(scratch, scratch.pixels.pixel, 0, red);
        quarters[2 * wide] = StoredRedRowSums(red, others, 0, kQuarterPixels);
        quarters[2 * wide + 1] = StoredRedRowSums(red, others, kQuarterPixels, kHalfPixels);
    }
    for (int32_t half = 0; half < 4; ++half) {
        bounds[half] = LeastRowSum(quarters[kHalfQuarters[half][0]] + quarters[kHalfQuarters[half][1]]);
    }
}

// The entries that all lanes of a line share: the sum of an R code's errors
// and a G code's (or each entry's least B error).
struct SharedEntries {
    alignas(64) uint32_t values[kErrorEntries];
};

// R code `red`'s errors plus G code `green`'s, or plus the least B errors when `green` is -1.
SWEEP_TARGET void AddRows(SharedEntries& shared, const HalfTables& tables, int32_t red, int32_t green) {
    for (int32_t pixel = 0; pixel < kHalfPixels; ++pixel) {
        const uint32_t* first = PixelEntries(tables.pixelRed, red, pixel);
        const uint32_t* second = green >= 0 ? PixelEntries(tables.pixelGreen, green, pixel) : tables.pixelBlue[pixel];
        for (int32_t entry = 0; entry < kEntriesPerPixel; entry += kWidth) {
            StoreLanes(shared.values + pixel * kEntriesPerPixel + entry,
                       LoadLanes(first + entry) + LoadLanes(second + entry));
        }
    }
}

// The smallest error of each lane over the four modifiers of one pixel and table row.
template <typename Vector>
SWEEP_TARGET inline Vector PixelRowErrors(const uint32_t (*lanes)[kLanes], int32_t first, const uint32_t* shared,
                                          int32_t pixel, int32_t row) {
    const int32_t entry = Entry(pixel, 0, row);
    const int32_t step = Entry(0, 1, 0);
    Vector slot0 = LoadLanes<Vector>(lanes[entry] + first) + shared[entry];
    Vector slot1 = LoadLanes<Vector>(lanes[entry + step] + first) + shared[entry + step];
    Vector slot2 = LoadLanes<Vector>(lanes[entry + 2 * step] + first) + shared[entry + 2 * step];
    Vector slot3 = LoadLanes<Vector>(lanes[entry + 3 * step] + first) + shared[entry + 3 * step];
    return Smaller(Smaller(slot0, slot1), Smaller(slot2, slot3));
}

// The search state of a line's lanes. A table row matters to a lane only while
// its running sum stays below the lane's cutoff: the limit at first, then the
// smallest row sum so far, or for the wide perceptual search the threshold its
// float bookkeeping sets (its rows must also go in order). Unused lanes have cutoff 0.
// A bound line only asks which lanes have some row below the limit: those lanes
// are marked `reached` and need no more rows.
struct LineState {
    uint32_t cutoff[kLanes];
    bool wide;
    bool boundOnly;
    uint32_t reached;
    uint32_t limit;
    double wideBest[kLanes];
};

template <typename Vector>
SWEEP_TARGET void FinishWideRow(LineState& state, int32_t first, Vector rowSum, Vector& cutoff) {
    for (uint32_t below = LanesBelow(rowSum, cutoff); below != 0; below &= below - 1) {
        int32_t lane = __builtin_ctz(below);
        float error = static_cast<float>(rowSum[lane] / 1000.0);
        if (!(error < state.wideBest[first + lane])) continue;
        state.wideBest[first + lane] = error;
        auto threshold = static_cast<uint64_t>(static_cast<double>(error) * 1000.0);
        cutoff[lane] = threshold < state.limit ? static_cast<uint32_t>(threshold) : state.limit;
    }
}

template <typename Vector>
SWEEP_TARGET void FinishRow(LineState& state, int32_t first, Vector sum, Vector& cutoff) {
    if (state.boundOnly) {
        state.reached |= LanesBelow(sum, cutoff) << first;
        cutoff = reinterpret_cast<Vector>(sum < cutoff) ? Vector{} : cutoff;
    } else if (state.wide) {
        FinishWideRow(state, first, sum, cutoff);
    } else {
        cutoff = Smaller(cutoff, sum);
    }
}

// Sums the table rows of `candidateRows` in the lanes of a line from `first` on, one vector wide, in order.
template <typename Vector>
SWEEP_TARGET void SumRows(const uint32_t (*lanes)[kLanes], int32_t first, const SharedEntries& shared,
                          LineState& state, uint32_t candidateRows) {
    Vector cutoff = LoadLanes<Vector>(state.cutoff + first);
    for (uint32_t rows = candidateRows; rows != 0; rows &= rows - 1) {
        int32_t row = __builtin_ctz(rows);
        Vector sum = PixelRowErrors<Vector>(lanes, first, shared.values, 0, row);
#pragma GCC unroll 8
        for (int32_t pixel = 1; pixel < kHalfPixels; ++pixel) {
            sum += PixelRowErrors<Vector>(lanes, first, shared.values, pixel, row);
        }
        if (LanesBelow(sum, cutoff) != 0) FinishRow(state, first, sum, cutoff);
    }
    StoreLanes(state.cutoff + first, cutoff);
}

// Every chunk of a line that holds a lane with a cutoff, in the table rows of `candidateRows`.
SWEEP_TARGET void SumLine(const HalfTables& tables, int32_t table, uint32_t laneMask, int32_t red, int32_t green,
                          LineState& state, uint32_t candidateRows) {
    const uint32_t (*lanes)[kLanes] = tables.lanes[table];
    SharedEntries shared;
    AddRows(shared, tables, red, green);
#if SWEEP_WIDTH == 16
    // Lines of at most 8 codes (G and B sharing a table) fill half the lanes: a
    // 16-lane sum would spend half its work on lanes nobody reads.
    constexpr int32_t kHalf = kLanes / 2;
    if ((laneMask >> kHalf) == 0 || (laneMask & ((1u << kHalf) - 1)) == 0) {
        SumRows<HalfChunk>(lanes, (laneMask >> kHalf) == 0 ? 0 : kHalf, shared, state, candidateRows);
        return;
    }
#endif
    for (int32_t chunk = 0; chunk < kChunks; ++chunk) {
        if ((laneMask >> (chunk * kWidth) & ((1u << kWidth) - 1)) != 0) {
            SumRows<Lanes>(lanes, chunk * kWidth, shared, state, candidateRows);
        }
    }
}

// The part of a prepared box that a sweep visits.
struct Sweep {
    HalfTables* tables;
    CodeBox part;
    uint32_t greenMask;  // lanes of the G codes inside the part
    uint32_t blueMask;   // lanes of the B codes inside the part
};

SWEEP_TARGET void StartSweep(HalfTables& tables, const CodeBox& part, Sweep& sweep) {
    sweep.tables = &tables;
    sweep.part = part;
    sweep.greenMask = ((1u << (part.high[1] - part.low[1] + 1)) - 1) << (part.low[1] - tables.box.low[1]);
    sweep.blueMask = ((1u << (part.high[2] - part.low[2] + 1)) - 1) << (part.low[2] - tables.box.low[2] + tables.blueLane);
}

// The G codes of one R code (as lanes) that may hold a candidate below their
// limits: lanes before `split` have `early`, the others `late` (internal units).
// B may differ per pixel and modifier here.
SWEEP_TARGET uint32_t GreensWorthTrying(Sweep& sweep, int32_t red, uint32_t split, uint32_t early, uint32_t late) {
    HalfTables& tables = *sweep.tables;
    uint32_t rows = RowsBelow(tables, red, split > 0 ? early : late);
    if (rows == 0) return 0;
    EnsureLaneRows(tables, 0, rows);
    LineState state;
    for (int32_t chunk = 0; chunk < kChunks; ++chunk) {
        Lanes limits = LaneIndex(chunk) < split ? Lanes{} + early : Lanes{} + late;
        StoreLanes(state.cutoff + chunk * kWidth, limits & LanesOf(sweep.greenMask, chunk));
    }
    state.wide = false;
    state.boundOnly = true;
    state.reached = 0;
    SumLine(tables, 0, sweep.greenMask, red, -1, state, rows);
    return state.reached;
}

// Runs the line of R code `red` and G code `green` and hands every B code of the
// part whose error lies below `limit` to `take`, in order.
template <typename Take>
SWEEP_TARGET void VisitLine(Sweep& sweep, int32_t red, int32_t green, int32_t limit, Take&& take) {
    HalfTables& tables = *sweep.tables;
    if (limit <= 0) return;
    LineState state;
    state.limit = InternalLimit(tables.measure, limit);
    uint32_t rows = RowsBelow(tables, red, state.limit);
    if (rows == 0) return;
    EnsureLaneRows(tables, tables.blueTable, rows);
    for (int32_t chunk = 0; chunk < kChunks; ++chunk) {
        StoreLanes(state.cutoff + chunk * kWidth, LanesOf(sweep.blueMask, chunk) & state.limit);
    }
    state.wide = tables.measure == ErrorMeasure::Perceptual && tables.shape == HalfShape::Wide;
    state.boundOnly = false;
    if (state.wide) {
        // Starting the wide bookkeeping at the limit is the search run with the limit as its bound.
        double start = limit < kAboveEveryHalfError ? limit : static_cast<double>(kAboveEveryHalfError);
        for (double& best : state.wideBest) best = start;
    }
    EnsureGreen(tables, green);
    SumLine(tables, tables.blueTable, sweep.blueMask, red, green, state, rows);
    // A lane's cutoff drops below the limit only with a row that counts.
    for (uint32_t found = sweep.blueMask; found != 0; found &= found - 1) {
        int32_t lane = __builtin_ctz(found);
        if (state.cutoff[lane] >= state.limit) continue;
        int32_t error = state.wide                                  ? static_cast<int32_t>(state.wideBest[lane])
                        : tables.measure == ErrorMeasure::Plain ? static_cast<int32_t>(state.cutoff[lane])
                                                                : static_cast<int32_t>(state.cutoff[lane] / 1000u);
        take(CandidateKey(red, green, tables.box.low[2] + lane - tables.blueLane), error);
    }
}

SWEEP_TARGET int32_t ClampCode(int32_t code, int32_t low, int32_t high) {
    return code < low ? low : code > high ? high : code;
}

// The error of one candidate, worked out from its three code rows.
SWEEP_TARGET int32_t CandidateError(HalfTables& tables, int32_t red, int32_t green, int32_t blue) {
    SignedLanes candidates[kEntriesPerPixel / kWidth];
    EntryCandidates(ExpandCode(tables.bits, blue), candidates);
    EnsureGreen(tables, green);
    RowSums sums{};
    for (int32_t pixel = 0; pixel < kHalfPixels; ++pixel) {
        const uint32_t* redEntries = PixelEntries(tables.pixelRed, red, pixel);
        const uint32_t* greenEntries = PixelEntries(tables.pixelGreen, green, pixel);
        const SignedLanes value = SignedLanes{} + tables.pixels.pixel[pixel][2];
        Lanes totals[kEntriesPerPixel / kWidth];
        for (int32_t vector = 0; vector < kEntriesPerPixel / kWidth; ++vector) {
            totals[vector] = LoadLanes(redEntries + vector * kWidth) + LoadLanes(greenEntries + vector * kWidth) +
                             WeightedSquare(value - candidates[vector], tables.weights[2]);
        }
        sums += LeastOverSlots(totals);
    }
    uint32_t rowSums[kTableRows];
    __builtin_memcpy(rowSums, &sums, sizeof rowSums);
    return SearchErrorFromRowSums(tables.measure, tables.shape, rowSums);
}

SWEEP_TARGET Candidate FindFirstBest(HalfTables& tables, const CodeBox& part, int32_t cutoff, const int32_t seed[3]) {
    Sweep sweep;
    StartSweep(tables, part, sweep);
    Candidate best{cutoff, -1};
    auto consider = [&best](int32_t key, int32_t error) {
        if (error < best.error || (error == best.error && key < best.key)) best = Candidate{error, key};
    };
    // A line can only win with an error below the best, or equal to it when it comes first.
    auto limitFor = [&best](int32_t firstKey) {
        return best.key >= 0 && firstKey < best.key ? best.error + 1 : best.error;
    };
    int32_t seedRed = ClampCode(seed[0], part.low[0], part.high[0]);
    int32_t seedGreen = ClampCode(seed[1], part.low[1], part.high[1]);
    int32_t seedBlue = ClampCode(seed[2], part.low[2], part.high[2]);
    // The seed alone, from the code rows, gives the seed line a limit and spares
    // it the table rows that cannot beat the seed.
    int32_t seedError = CandidateError(tables, seedRed, seedGreen, seedBlue);
    if (seedError < cutoff) best = Candidate{seedError, CandidateKey(seedRed, seedGreen, seedBlue)};
    VisitLine(sweep, seedRed, seedGreen, limitFor(CandidateKey(seedRed, seedGreen, part.low[2])), consider);
    for (int32_t red = part.low[0]; red <= part.high[0]; ++red) {
        // Lanes whose G code comes before the best's get one more.
        int32_t firstKey = CandidateKey(red, tables.box.low[1], part.low[2]);
        int32_t ahead = best.key < 0 ? 0 : (best.key - firstKey + 31) >> 5;
        uint32_t split = static_cast<uint32_t>(ahead < 0 ? 0 : ahead > kLanes ? kLanes : ahead);
        uint32_t late = best.error > 0 ? InternalLimit(tables.measure, best.error) : 0;
        uint32_t early = InternalLimit(tables.measure, best.error + 1);
        for (uint32_t greens = GreensWorthTrying(sweep, red, split, early, late); greens != 0; greens &= greens - 1) {
            int32_t green = tables.box.low[1] + __builtin_ctz(greens);
            if (red == seedRed && green == seedGreen) continue;
            VisitLine(sweep, red, green, limitFor(CandidateKey(red, green, part.low[2])), consider);
        }
    }
    return best;
}

SWEEP_TARGET int32_t CollectBelow(HalfTables& tables, const CodeBox& part, int32_t limit, Candidate* found) {
    Sweep sweep;
    StartSweep(tables, part, sweep);
    int32_t count = 0;
    auto collect = [&](int32_t key, int32_t error) { found[count++] = Candidate{error, key}; };
    if (limit <= 0) return 0;
    uint32_t internal = InternalLimit(tables.measure, limit);
    for (int32_t red = part.low[0]; red <= part.high[0]; ++red) {
        for (uint32_t greens = GreensWorthTrying(sweep, red, 0, internal, internal); greens != 0; greens &= greens - 1) {
            VisitLine(sweep, red, tables.box.low[1] + __builtin_ctz(greens), limit, collect);
        }
    }
    return count;
}

constexpr ColourSearchKernel kKernel{&Prepare, &HalfLowests, &HalfLowerBounds, &FindFirstBest, &CollectBelow};
