#include "equilibrium/Minimizer.h"

#include <cmath>
#include <string>

#include "common/Errors.h"
#include "common/NumberFormat.h"

namespace vexamo {

namespace {

// Steps of the expansion along one direction, and narrowings of one golden
// section (enough for any finite interval length and direction).
constexpr int kMaxExpansionSteps = 100000;
constexpr int kMaxSectionSteps = 30000;

std::size_t at(int i) { return static_cast<std::size_t>(i); }

FitVector along(const FitVector& X, const FitVector& D, int n, Real step) {
    FitVector Y = X;
    for (int i = 0; i < n; ++i) Y[at(i)] = X[at(i)] + step * D[at(i)];
    return Y;
}

// Every value the minimiser uses must be a number: an overflow in the
// objective ends the fit.
Objective checked(const Objective& F) {
    return [&F](const FitVector& X) {
        const Real value = F(X);
        if (!std::isfinite(value))
            throw NumericalError("the objective function of the fit is not finite (" +
                                 formatShortest(value) + ") at the parameters " +
                                 formatShortest(X[0]) + ", " + formatShortest(X[1]) + ", ...");
        return value;
    };
}

}  // namespace

void CentralGradient(const FitVector& X, int n, Real lambda, const Objective& F, FitVector& G) {
    const Real h = lambda / 100;
    if (!(h > 0)) throw NumericalError("the gradient step of the fit is not positive");
    FitVector Y = X;
    for (int i = 0; i < n; ++i) {
        Y[at(i)] = X[at(i)] + h;
        const Real plus = F(Y);
        Y[at(i)] = X[at(i)] - h;
        const Real minus = F(Y);
        Y[at(i)] = X[at(i)];
        G[at(i)] = (plus - minus) / (2 * h);
    }
}

Real GoldenSectionSearch(const FitVector& X, const FitVector& D, int n, Real T, Real eps,
                         const Objective& F) {
    Real a = 0, b = T;
    Real x1 = 0.381966L * b, x2 = 0.618034L * b;
    Real sumD2 = 0;
    for (int i = 0; i < n; ++i) sumD2 += D[at(i)] * D[at(i)];
    const Real N = sumD2 * sumD2;  // the square of the sum of squares
    if (!std::isfinite(N)) throw NumericalError("the search direction of the fit is not finite");
    Real f2 = F(along(X, D, n, x2));
    Real f1 = F(along(X, D, n, x1));
    for (int step = 0; eps < (b - a) * N; ++step) {
        if (step == kMaxSectionSteps)
            throw NumericalError("the line search of the fit does not end");
        if (f2 < f1) {
            a = x1;
            x1 = x2;
            f1 = f2;
            x2 = a + 0.618034L * (b - a);
            f2 = F(along(X, D, n, x2));
        } else {
            b = x2;
            x2 = x1;
            f2 = f1;
            x1 = b - 0.618034L * (b - a);
            f1 = F(along(X, D, n, x1));
        }
    }
    return (a + b) / 2;
}

void GradientMinimize(int lastIndex, std::uint16_t& iterations, Real& minimum, Real eps,
                      FitVector& X, const Objective& objective,
                      const SlowConvergenceHandler& onSlowConvergence) {
    const Objective F = checked(objective);
    const int N = lastIndex + 1;
    iterations = 0;
    minimum = F(X);
    Real lambda = 0.1L;
    FitVector G{}, G2{}, D{};
    CentralGradient(X, N, lambda, F, G);
    Real SG = 0;
    for (int i = 0; i < N; ++i) {
        D[at(i)] = -G[at(i)];
        SG += G[at(i)] * G[at(i)];
    }
    int retries = 0;
    bool done = false;
    do {
        done = true;
        FitVector Y = along(X, D, N, 1);
        Real fY = F(Y);
        Real T = 1.0L;
        if (minimum >= fY) {  // the full step does not increase F: go further while F falls
            T = 2.0L;
            FitVector Z = along(Y, D, N, 1);
            Real fZ = F(Z);
            for (int step = 0; fZ < fY; ++step) {
                if (step == kMaxExpansionSteps)
                    throw NumericalError(
                        "the objective function of the fit keeps falling along its direction");
                X = Y;
                Y = Z;
                minimum = fY;
                fY = fZ;
                Z = along(Y, D, N, 1);
                fZ = F(Z);
            }
        }
        lambda = GoldenSectionSearch(X, D, N, T, eps, F);
        Y = along(X, D, N, lambda);
        Real s2 = 0;
        for (int i = 0; i < N; ++i) s2 += (Y[at(i)] - X[at(i)]) * (Y[at(i)] - X[at(i)]);
        CentralGradient(Y, N, lambda, F, G2);
        minimum = F(Y);
        ++iterations;
        if (iterations > kSlowConvergenceIterations) {
            if (++retries > kMaxSlowConvergenceRetries)
                throw NumericalError("the fit did not converge in " +
                                     std::to_string(static_cast<long>(kSlowConvergenceIterations) *
                                                    (kMaxSlowConvergenceRetries + 1)) +
                                     " iterations");
            onSlowConvergence();
            iterations = 0;
        }
        Real SG2 = 0, numerator = 0;
        for (int i = 0; i < N; ++i) {
            SG2 += G2[at(i)] * G2[at(i)];
            numerator += (G2[at(i)] - G[at(i)]) * G2[at(i)];
        }
        const Real beta = iterations % N != 0 ? numerator / SG : 0.0L;
        if (std::sqrt(s2) > eps) done = false;
        SG = SG2;
        for (int i = 0; i < N; ++i) {
            D[at(i)] = beta * D[at(i)] - G2[at(i)];
            X[at(i)] = Y[at(i)];
            G[at(i)] = G2[at(i)];
        }
    } while (!done);
}

}  // namespace vexamo
