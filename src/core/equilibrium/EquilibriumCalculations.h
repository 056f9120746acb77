#pragma once
// One vapour-liquid equilibrium state of a mixture by the modified Raoult
// law y_i P = x_i gamma_i P_i(T): the bubble point (liquid given) by a
// quadratic start and the secant method, the dew point (vapour given) by
// Newton's method with a numerical Jacobian. Temperatures are reduced
// (tau = T / 273.15), pressures in Pa.
#include <array>
#include <cstdint>
#include <functional>
#include <span>

#include "common/Errors.h"
#include "common/Real.h"
#include "dialogs/Dialogs.h"
#include "equilibrium/EquilibriumModel.h"
#include "properties/MixtureProperties.h"
#include "properties/SubstanceRecords.h"

namespace vexamo {

inline constexpr Real kEquilibriumTolerance = 1e-6L;
inline constexpr Real kPivotTolerance = 1e-8L;
inline constexpr int kMaxSecantIterations = 500;
inline constexpr int kMaxNewtonIterations = 500;

// Why a solver gave up.
class SolverFailure : public NumericalError {
public:
    enum class Kind { IterationLimit, NotFinite, Singular, Unphysical };
    SolverFailure(Kind kind, const std::string& what) : NumericalError(what), m_kind(kind) {}
    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
};

// Activity coefficients of the model. For UNIFAC the group fractions and
// combinatorial factors belong to a composition: `prepare` forms them, and
// `gamma` uses the prepared ones.
class ActivityEvaluator {
public:
    ActivityEvaluator(const SubstanceData& data, const EquilibriumModel& model);
    void prepare(std::span<const Real> x);
    void gamma(std::span<const Real> x, Real tau, std::span<Real> result) const;

private:
    const SubstanceData& m_data;
    const EquilibriumModel& m_model;
    int m_n;
    std::array<Real, kMaxGroups> m_fractions{};
    std::array<Real, kMaxGroups> m_combinatorial{};
};

using ScalarFunction = std::function<Real(Real)>;
// Residuals of the n + 1 unknowns (x and r of n + 1 elements).
using VectorFunction = std::function<void(std::span<const Real> x, std::span<Real> r)>;

// A start for the secant method from F at s1, (s1 + s2) / 2 and s2: the root
// of the quadratic through them nearer to the best of the three points. A
// negative discriminant gives the best point; a straight line its root (the
// best point when it is flat).
Real QuadraticEstimate(Real s1, Real s2, const ScalarFunction& F);

// u' = u - F(u) / ((F(u + d) - F(u)) / d), d <- (u' - u) / 2, until
// |u' - u| <= tolerance; returns the last u'. Throws SolverFailure after
// kMaxSecantIterations or on a value that is not finite.
Real SecantSolve(Real start, Real step, Real tolerance, const ScalarFunction& F);

// J[j][i] = (F_j(x + h e_i) - F_j(x - h e_i)) / (2h), h = s_i / 10, i, j = 0..n.
void NumericalJacobian(int n, std::span<const Real> x, std::span<const Real> s,
                       const VectorFunction& F, Matrix_& J);

// Newton's method on the n + 1 unknowns x[0..n]; `counter` counts the
// iterations. An overflow inside the matrix inversion is reported through
// `onInversionError` and the iteration goes on with the matrix as it stands.
// Throws SolverFailure after kMaxNewtonIterations, for a singular Jacobian or
// a value that is not finite.
void NewtonSolve(int n, std::span<Real> x, const VectorFunction& F, Real tolerance,
                 std::uint16_t& counter, const std::function<void()>& onInversionError = {});

// The bubble-point residual: sets the unknown (tau or P) to `value`, forms
// gamma and y_i = P_i(tau) x_i gamma_i / P, and returns sum y - 1.
struct BubbleContext {
    const SubstanceData& data;
    const EquilibriumModel& model;
    const ActivityEvaluator& activity;
    char unknown;  // 'T' or 'P'
    std::span<const Real> liquid;
    std::span<Real> vapour;
    std::span<Real> gamma;
    Real& tau;
    Real& pressure;
};
Real BubbleResidual(Real value, BubbleContext& context);

// r_i = x_i - P y_i / (P_i(tau) gamma_i(x, tau)) for i < n, r_n = 1 - sum x;
// the unknown (tau or P by the letter) is x[n].
void DewResiduals(const SubstanceData& data, const EquilibriumModel& model,
                  ActivityEvaluator& activity, char unknown, std::span<const Real> x,
                  std::span<const Real> vapour, Real pressure, Real tau, std::span<Real> r);

// EquilibriumPoint(unknown letter, mode letter, temperature cell, vapour,
// work, liquid, model, pressure cell, first and second start value).
// unknown 'T'/'t': tau is sought at the given pressure; 'P'/'p': the pressure
// at the given tau. mode 'Y'/'y': bubble point (liquid given, vapour sought),
// 'X'/'x': dew point (vapour given; liquid[0..n] is the unknown vector, its
// element n the sought tau or P; when Newton's method from its fixed start
// fails or ends at a mole fraction outside 0 to 1 it runs once more from the
// ideal dew point). Any other mode letter does nothing. The
// start values serve the bubble point only: two tau, or two pressures in mm
// Hg. The work vector receives the activity coefficients of the last
// evaluation. A solver that fails ends the calculation with
// CalculationAborted naming the mixture, the given state and the method.
// `dialogs` (may be null) shows the matrix-inversion message.
void EquilibriumPoint(const SubstanceData& data, char unknown, char mode, Real& tau,
                      std::span<Real> vapour, std::span<Real> work, std::span<Real> liquid,
                      const EquilibriumModel& model, Real& pressure, Real start1, Real start2,
                      Dialogs* dialogs = nullptr);

}  // namespace vexamo
