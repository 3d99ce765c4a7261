// One instruction-set flavour of the half sweeps (HalfSweep.h).
//
// The including file defines SWEEP_TARGET, the target attribute every function
// here carries, and SWEEP_MASK_REGISTERS (1 when AVX-512 compare masks can be
// used), then includes this file inside an anonymous namespace: each flavour
// stays private to its file, and shared inline code is never built for a
// processor that may lack the instructions.
//
// Layout of an error entry: pixel p, table row q, modifier slot k at p*32 + q*4 + k.
// A "line" is one R code and one G code with the B codes in the lanes; a "bound
// line" is one R code with the G codes in the lanes and each entry's smallest B error.

typedef uint32_t Lanes __attribute__((vector_size(64)));
typedef int32_t SignedLanes __attribute__((vector_size(64)));

constexpr int32_t kEntriesPerPixel = kErrorEntries / kHalfPixels;
constexpr int32_t kVectorsPerTable = kErrorEntries / kLanes;
constexpr int32_t kVectorsPerPixel = kEntriesPerPixel / kLanes;

SWEEP_TARGET inline Lanes Smaller(Lanes a, Lanes b) { return a < b ? a : b; }

SWEEP_TARGET inline SignedLanes ClampToByte(SignedLanes value) {
    const SignedLanes zero = SignedLanes{} + 0;
    const SignedLanes top = zero + 255;
    value = value < zero ? zero : value;
    return value > top ? top : value;
}

// Bit n set when lane n of `value` lies below lane n of `cutoff`.
SWEEP_TARGET inline uint32_t LanesBelow(Lanes value, Lanes cutoff) {
#if SWEEP_MASK_REGISTERS
    return _mm512_cmplt_epu32_mask(reinterpret_cast<__m512i>(value), reinterpret_cast<__m512i>(cutoff));
#else
    SignedLanes below = value < cutoff;
    uint32_t mask = 0;
    for (int32_t lane = 0; lane < kLanes; ++lane) mask |= static_cast<uint32_t>(below[lane] & 1) << lane;
    return mask;
#endif
}

// True when some lane of `value` lies below its lane of `cutoff` (cutoff 0 marks unused lanes).
SWEEP_TARGET inline bool AnyBelow(Lanes value, Lanes cutoff) {
#if SWEEP_MASK_REGISTERS
    return LanesBelow(value, cutoff) != 0;
#else
    typedef uint64_t Halves __attribute__((vector_size(64)));
    Halves below = reinterpret_cast<Halves>(value < cutoff);
    uint64_t any = 0;
    for (int32_t i = 0; i < 8; ++i) any |= below[i];
    return any != 0;
#endif
}

SWEEP_TARGET inline Lanes LoadLanes(const uint32_t* source) {
    Lanes lanes;
    __builtin_memcpy(&lanes, source, sizeof lanes);
    return lanes;
}

SWEEP_TARGET inline void StoreLanes(uint32_t* destination, Lanes lanes) {
    __builtin_memcpy(destination, &lanes, sizeof lanes);
}

SWEEP_TARGET inline int32_t ExpandCode(int32_t bits, int32_t code) {
    return bits == 5 ? Expand5(code) : Expand4(code);
}

// The square of a difference of at most 255 in size. With AVX-512 it comes from
// a 16-bit multiply of the magnitude, which the upper half-lanes (zero) leave exact.
SWEEP_TARGET inline Lanes Square(SignedLanes difference) {
#if SWEEP_MASK_REGISTERS
    typedef uint16_t HalfLanes __attribute__((vector_size(64)));
    HalfLanes magnitude = reinterpret_cast<HalfLanes>(difference < 0 ? -difference : difference);
    return reinterpret_cast<Lanes>(magnitude * magnitude);
#else
    return reinterpret_cast<Lanes>(difference * difference);
#endif
}

// weight * (pixel - candidate)^2 per lane.
SWEEP_TARGET inline Lanes SquaredErrors(SignedLanes pixel, SignedLanes candidate, uint32_t weight) {
    Lanes square = Square(pixel - candidate);
    return weight == 1 ? square : square * weight;
}

SWEEP_TARGET inline SignedLanes Modifiers(int32_t half) {
    SignedLanes modifiers;
    __builtin_memcpy(&modifiers, &ETC1ModifierTable[half * kTableRows / kVectorsPerPixel][0], sizeof modifiers);
    return modifiers;
}

// One channel's errors for one colour value, per entry; `visit` gets each vector of 16 entries.
template <typename Visit>
SWEEP_TARGET inline void ForEachCodeErrors(const HalfTables& tables, int32_t channel, int32_t colour, Visit&& visit) {
    SignedLanes candidates[kVectorsPerPixel];
    for (int32_t half = 0; half < kVectorsPerPixel; ++half) candidates[half] = ClampToByte(Modifiers(half) + colour);
    for (int32_t pixel = 0; pixel < kHalfPixels; ++pixel) {
        SignedLanes value = SignedLanes{} + tables.pixels.pixel[pixel][channel];
        for (int32_t half = 0; half < kVectorsPerPixel; ++half) {
            visit(pixel * kVectorsPerPixel + half, SquaredErrors(value, candidates[half], tables.weights[channel]));
        }
    }
}

// The row of one R or G code, built on first use.
SWEEP_TARGET const uint32_t* CodeRow(HalfTables& tables, int32_t channel, int32_t code) {
    int32_t index = code - tables.box.low[channel];
    uint32_t& built = channel == 0 ? tables.builtRed : tables.builtGreen;
    uint32_t* row = channel == 0 ? tables.red[index] : tables.green[index];
    if ((built >> index & 1) == 0) {
        ForEachCodeErrors(tables, channel, ExpandCode(tables.bits, code),
                          [row](int32_t vector, Lanes errors) { StoreLanes(row + vector * kLanes, errors); });
        built |= 1u << index;
    }
    return row;
}

SWEEP_TARGET void PrepareSmallestBlue(HalfTables& tables) {
    Lanes least[kVectorsPerTable];
    for (Lanes& vector : least) vector = ~Lanes{};
    for (int32_t code = tables.box.low[2]; code <= tables.box.high[2]; ++code) {
        ForEachCodeErrors(tables, 2, ExpandCode(tables.bits, code), [&least](int32_t vector, Lanes errors) {
            least[vector] = Smaller(least[vector], errors);
        });
    }
    for (int32_t vector = 0; vector < kVectorsPerTable; ++vector) {
        StoreLanes(tables.smallestBlue + vector * kLanes, least[vector]);
    }
}

// Which channel and code each lane of a lanes table stands for.
struct LaneCodes {
    SignedLanes colours;
    SignedLanes isBlue;  // all ones in the lanes of B codes
    Lanes weights;
};

SWEEP_TARGET void AssignLanes(const HalfTables& tables, int32_t channel, int32_t firstLane, LaneCodes& codes) {
    int32_t low = tables.box.low[channel], high = tables.box.high[channel];
    for (int32_t lane = firstLane; lane < kLanes; ++lane) {
        int32_t code = low + lane - firstLane <= high ? low + lane - firstLane : high;
        codes.colours[lane] = ExpandCode(tables.bits, code);
        codes.isBlue[lane] = channel == 2 ? -1 : 0;
        codes.weights[lane] = tables.weights[channel];
    }
}

// Errors per entry with the lanes' codes.
SWEEP_TARGET void FillLanes(const HalfTables& tables, const LaneCodes& codes, uint32_t (*lanes)[kLanes]) {
    SignedLanes candidates[kEntriesPerPixel];
    for (int32_t slot = 0; slot < kEntriesPerPixel; ++slot) {
        candidates[slot] = ClampToByte(codes.colours + ETC1ModifierTable[slot / 4][slot % 4]);
    }
    bool weighted = tables.measure == ErrorMeasure::Perceptual;
    for (int32_t pixel = 0; pixel < kHalfPixels; ++pixel) {
        const int32_t* colour = tables.pixels.pixel[pixel];
        SignedLanes value = codes.isBlue != 0 ? SignedLanes{} + colour[2] : SignedLanes{} + colour[1];
        for (int32_t slot = 0; slot < kEntriesPerPixel; ++slot) {
            Lanes square = Square(value - candidates[slot]);
            StoreLanes(lanes[pixel * kEntriesPerPixel + slot], weighted ? square * codes.weights : square);
        }
    }
}

SWEEP_TARGET void PrepareLanes(HalfTables& tables) {
    const int32_t half = kLanes / 2;
    bool shared = tables.box.high[1] - tables.box.low[1] < half && tables.box.high[2] - tables.box.low[2] < half;
    tables.blueTable = shared ? 0 : 1;
    tables.blueLane = shared ? half : 0;
    LaneCodes codes;
    AssignLanes(tables, 1, 0, codes);
    if (shared) {
        AssignLanes(tables, 2, half, codes);
        FillLanes(tables, codes, tables.lanes[0]);
        return;
    }
    FillLanes(tables, codes, tables.lanes[0]);
    AssignLanes(tables, 2, 0, codes);
    FillLanes(tables, codes, tables.lanes[1]);
}

// The half's pixels with the one farthest from their mean first: it rules out most
// candidates at the first step, and the order of a sum does not change it.
SWEEP_TARGET HalfPixels FarthestFirst(const HalfPixels& half) {
    int32_t sum[3] = {};
    for (const auto& pixel : half.pixel) {
        for (int32_t channel = 0; channel < 3; ++channel) sum[channel] += pixel[channel];
    }
    int32_t farthest = 0, largest = -1;
    for (int32_t i = 0; i < kHalfPixels; ++i) {
        int32_t distance = 0;
        for (int32_t channel = 0; channel < 3; ++channel) {
            int32_t difference = kHalfPixels * half.pixel[i][channel] - sum[channel];
            distance += difference * difference;
        }
        if (distance > largest) largest = distance, farthest = i;
    }
    HalfPixels ordered = half;
    for (int32_t channel = 0; channel < 3; ++channel) {
        ordered.pixel[0][channel] = half.pixel[farthest][channel];
        ordered.pixel[farthest][channel] = half.pixel[0][channel];
    }
    return ordered;
}

SWEEP_TARGET void Prepare(HalfTables& tables, const HalfPixels& half, ErrorMeasure measure, HalfShape shape,
                          int32_t bits, const CodeBox& box) {
    static constexpr uint32_t kPerceptualWeights[3] = {299, 587, 114};
    tables.measure = measure;
    tables.shape = shape;
    tables.bits = bits;
    tables.box = box;
    tables.pixels = FarthestFirst(half);
    for (int32_t channel = 0; channel < 3; ++channel) {
        tables.weights[channel] = measure == ErrorMeasure::Plain ? 1 : kPerceptualWeights[channel];
    }
    tables.builtRed = 0;
    tables.builtGreen = 0;
    PrepareSmallestBlue(tables);
    PrepareLanes(tables);
}

// The smallest error of each lane over the four modifiers of one pixel and table row.
SWEEP_TARGET inline Lanes PixelRowErrors(const uint32_t (*lanes)[kLanes], const uint32_t* shared, int32_t pixel,
                                         int32_t row) {
    int32_t entry = pixel * kEntriesPerPixel + 4 * row;
    Lanes slot0 = LoadLanes(lanes[entry]) + shared[entry];
    Lanes slot1 = LoadLanes(lanes[entry + 1]) + shared[entry + 1];
    Lanes slot2 = LoadLanes(lanes[entry + 2]) + shared[entry + 2];
    Lanes slot3 = LoadLanes(lanes[entry + 3]) + shared[entry + 3];
    return Smaller(Smaller(slot0, slot1), Smaller(slot2, slot3));
}

// The search state of a line's lanes. A table row matters to a lane only while
// its running sum stays below the lane's cutoff: the limit at first, then the
// smallest row sum so far, or for the wide perceptual search the threshold its
// float bookkeeping sets (its rows must also go in order). Unused lanes have cutoff 0.
// A bound line only asks which lanes have some row below the limit: those lanes
// are marked `reached` and need no more rows.
struct LineState {
    Lanes cutoff;
    bool wide;
    bool boundOnly;
    uint32_t reached;
    uint32_t limit;
    double wideBest[kLanes];
};

SWEEP_TARGET void FinishWideRow(LineState& state, Lanes rowSum) {
    for (uint32_t below = LanesBelow(rowSum, state.cutoff); below != 0; below &= below - 1) {
        int32_t lane = __builtin_ctz(below);
        float error = static_cast<float>(rowSum[lane] / 1000.0);
        if (!(error < state.wideBest[lane])) continue;
        state.wideBest[lane] = error;
        auto threshold = static_cast<uint64_t>(static_cast<double>(error) * 1000.0);
        state.cutoff[lane] = threshold < state.limit ? static_cast<uint32_t>(threshold) : state.limit;
    }
}

SWEEP_TARGET inline void AddRows(uint32_t* sum, const uint32_t* first, const uint32_t* second, int32_t begin,
                                 int32_t end) {
    for (int32_t vector = begin; vector < end; ++vector) {
        StoreLanes(sum + vector * kLanes, LoadLanes(first + vector * kLanes) + LoadLanes(second + vector * kLanes));
    }
}

// Sums a line's table rows; the entries shared by all lanes are first + second.
// A row is given up once no lane can still use it, the whole line when the first
// pixel already rules every lane out. `hintRow` is tried first (the row that last
// won nearby) and becomes this line's winner.
SWEEP_TARGET void SumRows(const uint32_t (*lanes)[kLanes], const uint32_t* first, const uint32_t* second,
                          LineState& state, int32_t& hintRow) {
    alignas(64) uint32_t shared[kErrorEntries];
    AddRows(shared, first, second, 0, kVectorsPerPixel);
    Lanes firstPixel[kTableRows];
#pragma GCC unroll 8
    for (int32_t row = 0; row < kTableRows; ++row) firstPixel[row] = PixelRowErrors(lanes, shared, 0, row);
    Lanes smallest = firstPixel[0];
#pragma GCC unroll 8
    for (int32_t row = 1; row < kTableRows; ++row) smallest = Smaller(smallest, firstPixel[row]);
    if (!AnyBelow(smallest, state.cutoff)) return;
    AddRows(shared, first, second, kVectorsPerPixel, kVectorsPerTable);
    uint32_t rows = 0;
#pragma GCC unroll 8
    for (int32_t row = 0; row < kTableRows; ++row) rows |= static_cast<uint32_t>(AnyBelow(firstPixel[row], state.cutoff)) << row;
    // The hint row goes first, except where rows must go in order.
    int32_t firstRow = state.wide || (rows >> hintRow & 1) == 0 ? __builtin_ctz(rows | 1u << kTableRows) : hintRow;
    for (int32_t row = firstRow; row < kTableRows; rows &= ~(1u << row), row = __builtin_ctz(rows | 1u << kTableRows)) {
        Lanes sum = firstPixel[row];
        bool alive = AnyBelow(sum, state.cutoff);
        for (int32_t pixel = 1; pixel < kHalfPixels && alive; ++pixel) {
            sum += PixelRowErrors(lanes, shared, pixel, row);
            alive = AnyBelow(sum, state.cutoff);
        }
        if (!alive) continue;
        if (state.boundOnly) {
            state.reached |= LanesBelow(sum, state.cutoff);
            state.cutoff = reinterpret_cast<Lanes>(sum < state.cutoff) ? Lanes{} : state.cutoff;
        } else if (state.wide) {
            FinishWideRow(state, sum);
        } else {
            state.cutoff = Smaller(state.cutoff, sum);
            hintRow = row;
        }
    }
}

// The part of a prepared box that a sweep visits.
struct Sweep {
    HalfTables* tables;
    CodeBox part;
    uint32_t blueMask;   // lanes of the B codes inside the part
    Lanes greenInside;   // all ones in the lanes of the G codes inside the part
    Lanes blueInside;    // the same for the B codes
    int32_t hintRow;
};

SWEEP_TARGET inline Lanes LaneIndex() {
    Lanes index;
    for (int32_t lane = 0; lane < kLanes; ++lane) index[lane] = static_cast<uint32_t>(lane);
    return index;
}

// All ones in the lanes of codes low..high of a channel whose box starts at boxLow in lane firstLane.
SWEEP_TARGET inline Lanes CodesInside(int32_t boxLow, int32_t firstLane, int32_t low, int32_t high) {
    Lanes index = LaneIndex();
    return reinterpret_cast<Lanes>((index >= static_cast<uint32_t>(low - boxLow + firstLane)) &
                                   (index <= static_cast<uint32_t>(high - boxLow + firstLane)));
}

SWEEP_TARGET void StartSweep(HalfTables& tables, const CodeBox& part, Sweep& sweep) {
    sweep.tables = &tables;
    sweep.part = part;
    sweep.blueMask = ((1u << (part.high[2] - part.low[2] + 1)) - 1) << (part.low[2] - tables.box.low[2] + tables.blueLane);
    sweep.greenInside = CodesInside(tables.box.low[1], 0, part.low[1], part.high[1]);
    sweep.blueInside = CodesInside(tables.box.low[2], tables.blueLane, part.low[2], part.high[2]);
    sweep.hintRow = 0;
}

// The G codes of one R code (as lanes) that may hold a candidate below their limits
// (internal units): B may differ per pixel and modifier here.
SWEEP_TARGET uint32_t GreensWorthTrying(Sweep& sweep, int32_t red, Lanes limits) {
    HalfTables& tables = *sweep.tables;
    LineState state;
    state.cutoff = limits & sweep.greenInside;
    state.wide = false;
    state.boundOnly = true;
    state.reached = 0;
    SumRows(tables.lanes[0], CodeRow(tables, 0, red), tables.smallestBlue, state, sweep.hintRow);
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
    state.cutoff = sweep.blueInside & state.limit;
    state.wide = tables.measure == ErrorMeasure::Perceptual && tables.shape == HalfShape::Wide;
    state.boundOnly = false;
    if (state.wide) {
        // Starting the wide bookkeeping at the limit is the search run with the limit as its bound.
        double start = limit < 1560600 ? limit : 1560600.0;
        for (double& best : state.wideBest) best = start;
    }
    SumRows(tables.lanes[tables.blueTable], CodeRow(tables, 0, red), CodeRow(tables, 1, green), state, sweep.hintRow);
    // A lane's cutoff drops below the limit only with a row that counts.
    for (uint32_t found = LanesBelow(state.cutoff, Lanes{} + state.limit) & sweep.blueMask; found != 0;
         found &= found - 1) {
        int32_t lane = __builtin_ctz(found);
        int32_t error = state.wide                                  ? static_cast<int32_t>(state.wideBest[lane])
                        : tables.measure == ErrorMeasure::Plain ? static_cast<int32_t>(state.cutoff[lane])
                                                                : static_cast<int32_t>(state.cutoff[lane] / 1000u);
        take(CandidateKey(red, green, tables.box.low[2] + lane - tables.blueLane), error);
    }
}

SWEEP_TARGET int32_t ClampCode(int32_t code, int32_t low, int32_t high) {
    return code < low ? low : code > high ? high : code;
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
    VisitLine(sweep, seedRed, seedGreen, limitFor(CandidateKey(seedRed, seedGreen, part.low[2])), consider);
    for (int32_t red = part.low[0]; red <= part.high[0]; ++red) {
        // Lanes whose G code comes before the best's get one more.
        int32_t firstKey = CandidateKey(red, tables.box.low[1], part.low[2]);
        int32_t ahead = best.key < 0 ? 0 : (best.key - firstKey + 31) >> 5;
        uint32_t split = static_cast<uint32_t>(ahead < 0 ? 0 : ahead > kLanes ? kLanes : ahead);
        uint32_t equal = best.error > 0 ? InternalLimit(tables.measure, best.error) : 0;
        Lanes limits = LaneIndex() < split ? Lanes{} + InternalLimit(tables.measure, best.error + 1) : Lanes{} + equal;
        for (uint32_t greens = GreensWorthTrying(sweep, red, limits); greens != 0; greens &= greens - 1) {
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
    Lanes limits = Lanes{} + InternalLimit(tables.measure, limit);
    for (int32_t red = part.low[0]; red <= part.high[0]; ++red) {
        for (uint32_t greens = GreensWorthTrying(sweep, red, limits); greens != 0; greens &= greens - 1) {
            VisitLine(sweep, red, tables.box.low[1] + __builtin_ctz(greens), limit, collect);
        }
    }
    return count;
}

constexpr HalfSweepFunctions kFunctions{&Prepare, &FindFirstBest, &CollectBelow};
