// Least squares for the programs that fit the library's tables: Householder reflections
// on the column-scaled matrix, so that terms of very different size fit alike.
#ifndef VIREO_TESTS_STEAM_LEAST_SQUARES_H
#define VIREO_TESTS_STEAM_LEAST_SQUARES_H

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace vireo_fit {

// The coefficients c that minimise |rows c - targets|; every row has the same length.
inline std::vector<double> leastSquares(std::vector<std::vector<double>> a, std::vector<double> b) {
    const std::size_t m = a.size();
    const std::size_t n = a.empty() ? 0 : a[0].size();
    std::vector<double> scale(n, 0.0);
    for (const auto& row : a) {
        for (std::size_t k = 0; k < n; ++k) scale[k] = std::max(scale[k], std::fabs(row[k]));
    }
    for (auto& s : scale) {
        if (s == 0.0) s = 1.0;
    }
    for (auto& row : a) {
        for (std::size_t k = 0; k < n; ++k) row[k] /= scale[k];
    }
    std::vector<double> v(m);
    for (std::size_t k = 0; k < n; ++k) {
        double norm = 0.0;
        for (std::size_t i = k; i < m; ++i) norm += a[i][k] * a[i][k];
        norm = std::sqrt(norm);
        const double alpha = a[k][k] > 0.0 ? -norm : norm;
        std::fill(v.begin(), v.end(), 0.0);
        for (std::size_t i = k; i < m; ++i) v[i] = a[i][k];
        v[k] -= alpha;
        double vv = 0.0;
        for (std::size_t i = k; i < m; ++i) vv += v[i] * v[i];
        if (vv == 0.0) continue;
        for (std::size_t col = k; col < n; ++col) {
            double dot = 0.0;
            for (std::size_t i = k; i < m; ++i) dot += v[i] * a[i][col];
            for (std::size_t i = k; i < m; ++i) a[i][col] -= 2.0 * dot / vv * v[i];
        }
        double dot = 0.0;
        for (std::size_t i = k; i < m; ++i) dot += v[i] * b[i];
        for (std::size_t i = k; i < m; ++i) b[i] -= 2.0 * dot / vv * v[i];
    }
    std::vector<double> c(n, 0.0);
    for (std::size_t k = n; k-- > 0;) {
        double sum = b[k];
        for (std::size_t col = k + 1; col < n; ++col) sum -= a[k][col] * c[col];
        c[k] = sum / a[k][k];
    }
    for (std::size_t k = 0; k < n; ++k) c[k] /= scale[k];
    return c;
}

}  // namespace vireo_fit

#endif
