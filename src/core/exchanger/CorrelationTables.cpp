#include "exchanger/CorrelationTables.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "dialogs/Dialogs.h"

namespace vexamo {

namespace {

// Rows by Re, columns by L/d.
constexpr std::array<Real, 5> kEntranceRe = {1e4L, 2e4L, 5e4L, 1e5L, 1e6L};
constexpr std::array<std::array<Real, 5>, 5> kEntranceFactor = {{
    {1.23L, 1.13L, 1.07L, 1.03L, 1.00L},
    {1.18L, 1.10L, 1.05L, 1.02L, 1.00L},
    {1.13L, 1.08L, 1.04L, 1.02L, 1.00L},
    {1.10L, 1.06L, 1.03L, 1.02L, 1.00L},
    {1.05L, 1.03L, 1.02L, 1.01L, 1.00L},
}};

// phi = 10, 20, ..., 90 degrees.
constexpr std::array<Real, 9> kAttackFactor = {0.42L, 0.52L, 0.67L, 0.78L, 0.88L,
                                               0.94L, 0.98L, 1.00L, 1.00L};

Real between(Real a, Real b, Real w) { return (1 - w) * a + w * b; }

void sendError(const CorrelationContext& context, const std::string& text) {
    if (context.dialogs) context.dialogs->message({kWrongParameterId, MessageKind::Error, text});
}

}  // namespace

Real EntranceLengthFactor(Real Re, Real lengthRatio) {
    if (std::isnan(Re) || std::isnan(lengthRatio))
        throw NumericalError("entrance-length factor of a number that is not a number");
    // Outside the table the factor keeps the value of its nearest edge: Re
    // below 1e4 takes the 1e4 row, above 1e6 the 1e6 row; L/d below 10 the
    // first column, beyond 50 the last (1.00, the developed flow). So the
    // factor is continuous in both arguments, also where a tube's Re passes
    // 1e4 at a large L/d.
    const Real re = std::clamp(Re, kEntranceRe.front(), kEntranceRe.back());
    const Real ld = std::clamp(lengthRatio, 10.0L, 50.0L);
    // L/d column: k = 1, 2, ... until L/d <= 10 (k + 1); between columns k - 1 and k.
    std::size_t k = 1;
    while (k < 4 && !(ld <= 10 * static_cast<Real>(k + 1))) ++k;
    const Real wl = ld / 10 - static_cast<Real>(k);
    // Re row: the first row with Re <= its value, and the one before it.
    std::size_t i = 1;
    while (i < 4 && !(re <= kEntranceRe[i])) ++i;
    const Real wr = (re - kEntranceRe[i - 1]) / (kEntranceRe[i] - kEntranceRe[i - 1]);
    const Real low = between(kEntranceFactor[i - 1][k - 1], kEntranceFactor[i - 1][k], wl);
    const Real high = between(kEntranceFactor[i][k - 1], kEntranceFactor[i][k], wl);
    return between(low, high, wr);
}

Real AttackAngleFactor(Real phi) {
    if (!(phi >= 10 && phi <= 90))
        throw CalculationAborted(
            "the angle-of-attack factor is tabulated for 10 to 90 degrees, not " +
            formatShortest(phi));
    // k = the smallest integer >= 1 with phi <= 10 (k + 1); between entries k - 1 and k.
    std::size_t k = 1;
    while (k < 8 && !(phi <= 10 * static_cast<Real>(k + 1))) ++k;
    const Real w = phi / 10 - static_cast<Real>(k);
    return between(kAttackFactor[k - 1], kAttackFactor[k], w);
}

bool BundleFrictionConstants(bool staggered, Real Re, BundleFriction& c,
                             const CorrelationContext& context) {
    struct Row {
        Real staggered1, staggered2, inline1, inline2;
    };
    static constexpr Row kRows[] = {
        {0.303L, -0.126L, 0.391L, -0.148L},  // Re > 10000
        {0.333L, -0.136L, 0.0815L, 0.022L},  // Re > 1000
        {3.5L, -0.476L, 6.09L, -0.602L},     // Re > 100
        {26.2L, -0.913L, 32.1L, -0.963L},    // Re > 10
        {32.0L, -1.0L, 35.0L, -1.0L},        // Re > 0
    };
    const Row* row = Re > 10000  ? &kRows[0]
                     : Re > 1000 ? &kRows[1]
                     : Re > 100  ? &kRows[2]
                     : Re > 10   ? &kRows[3]
                     : Re > 0    ? &kRows[4]
                                 : nullptr;
    if (!row) {
        sendError(context, "Wrong parameter Re = " + formatShortest(Re));
        return false;
    }
    if (staggered) {
        c = {row->staggered1, row->staggered2, 6.59L, 0.52L};
    } else {
        c = {row->inline1, row->inline2, 6.3L, 0.378L};
    }
    return true;
}

bool BundleClearance(int v, Real D, Real& clearance, const CorrelationContext& context) {
    switch (v) {
        case 1:
            clearance = 85 + 0.021833L * D + 8.7332e-6L * D * D;
            return true;
        case 2:
            clearance = 85 + 0.0078L * D + 8.4e-6L * D * D;
            return true;
        case 3:
            clearance = 25.7143L + 0.01714L * D;
            return true;
        case 4:
            clearance = 13.77775L + 0.004889L * D;
            return true;
        default:
            sendError(context, "Wrong parameter v = " + std::to_string(v));
            return false;
    }
}

Real RowCorrection(int n, bool staggered) {
    if (n < 1)
        throw CalculationAborted("the number of tube rows on a vertical must be at least 1, not " +
                                 std::to_string(n));
    // The exponential forms are fitted up to 21 rows; a deeper column keeps
    // the value of 21 rows. The forms fall with n (more condensate runs onto
    // the lower tubes), so holding their last value never lets a deeper
    // bundle condense better than a shallower one; the constants 0.57 and
    // 0.485 once used from 22 rows lay above the 21-row values. One row is
    // one tube with no condensate from above: at most the single-tube film,
    // factor 1.
    //
    // The staggered form leaves Kern's n^(-1/6) by more than 9 % at both
    // ends: at 2 rows it lies 10 % above it (0.984, nearly a second
    // undisturbed tube), from 20 rows more than 9 % below, and a deep bundle
    // holding the 21-row value would rise above Kern's rule again past about
    // 70 rows. It is therefore kept within 9 % of Kern's rule; from 4 to 19
    // rows, where the fit lies inside that band, it is used as fitted. Both
    // bounds fall with n, so the factor stays continuous and never rises
    // with the row count.
    const Real rows = static_cast<Real>(std::min(n, 21));
    if (!staggered) return std::min(6.289L * std::exp(-1.847L * std::pow(rows, 0.113L)), 1.0L);
    const Real form = 2.092L * std::exp(-0.635L * std::pow(rows, 0.249L));
    const Real kern = std::pow(static_cast<Real>(n), -1.0L / 6);
    return std::min(std::clamp(form, 0.91L * kern, 1.09L * kern), 1.0L);
}

Real CondensateFactor(Real x) {
    if (std::isnan(x)) throw NumericalError("air content of steam that is not a number");
    // 1.0038 exp(-0.8086 x^0.5445), fitted for up to 5 % air: at most 1 (the
    // form reaches 1 at 5.3e-5 % and pure steam keeps 1), and beyond 5 % the
    // value at 5 %, where the fit ends. Continuous over the whole range.
    if (!(x > 0)) return 1;
    const Real air = std::min(x, 5.0L);
    return std::min(1.0038L * std::exp(-0.8086L * std::pow(air, 0.5445L)), 1.0L);
}

}  // namespace vexamo
