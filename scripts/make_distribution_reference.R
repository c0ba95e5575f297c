#!/usr/bin/env Rscript
# Reference values for the distribution tests, from R's own algorithms
# (pnorm, qnorm, pt, qt, ptukey) and, for the Rayleigh probability, from a
# root of the critical-value expansion found by uniroot. Each grid covers
# every branch of the function under test; the branch column names it.
#   Rscript scripts/make_distribution_reference.R > tests/data/distributions_reference.csv
options(digits = 17)
rows <- list()
add <- function(fn, branch, a, b = NA, c = NA, expected) {
  rows[[length(rows) + 1]] <<- data.frame(fn = fn, branch = branch, a = a, b = b, c = c,
                                          expected = expected, stringsAsFactors = FALSE)
}

# ---- normal lower tail: rational branch |z| < 7.071, continued fraction
# up to 37, constant beyond; with mean and SD.
x <- seq(-7.07, 7.07, by = 0.01)
add("CDF_Normal", "rational", x, 0, 1, pnorm(x))
x <- c(-rev(seq(7.071, 37, length.out = 200)), seq(7.071, 37, length.out = 200))
add("CDF_Normal", "continued_fraction", x, 0, 1, pnorm(x))
x <- c(-1000, -38, -37.0000001, 37.0000001, 38, 1000)
add("CDF_Normal", "beyond_37", x, 0, 1, pnorm(x))
g <- expand.grid(x = c(-40, -3.5, 0, 1.5, 12, 95), m = c(-10, 0, 2.5), s = c(0.5, 3, 20))
add("CDF_Normal", "mean_sd", g$x, g$m, g$s, pnorm(g$x, g$m, g$s))

# ---- normal quantile: central |p - 0.5| <= 0.425, tails with
# r = sqrt(-log(min(p, 1 - p))) up to 5 and beyond.
p <- c(0.075, seq(0.0751, 0.9249, length.out = 1200), 0.5)
add("IDF_Normal", "central", p, expected = qnorm(p))
s <- c(10^seq(log10(exp(-25)) + 0.001, log10(0.0749), length.out = 500), 0.0749)
p <- c(s, 1 - s[s > 1e-15])
add("IDF_Normal", "tail_r_le_5", p, expected = qnorm(p))
s <- 10^seq(-20, log10(exp(-25)) - 0.001, length.out = 300)
p <- c(s, 1 - s[s > 2e-16])
add("IDF_Normal", "tail_r_gt_5", p, expected = qnorm(p))
# Below 1e-20 the 28 decimal places keep fewer than 8 digits of p: against
# qnorm(p) and against qnorm of p so rounded.
p <- 10^seq(-28, -20.01, length.out = 100)
add("IDF_Normal", "tail_p_below_1e-20", p, expected = qnorm(p))
add("IDF_Normal", "tail_p_below_1e-20_vs_rounded_p", p, expected = qnorm(round(p, 28)))

# ---- t upper tails (two-tailed and one-tailed), by Hill's branches.
t_branch <- function(t, df) {
  t2 <- t * t
  ifelse(df <= 200 & (df <= 19 | df <= t2),
         ifelse(df >= 20 | t2 >= 4, "tail_series", "cosine_series"),
         "normal_approximation")
}
g <- rbind(
  expand.grid(t = c(0, 0.1, 0.5, 1, 1.5, 1.99), df = 1:19),
  expand.grid(t = c(2, 2.5, 3, 4, 6, 10, 30, 100, 1000), df = 1:19),
  expand.grid(t = c(0, 0.5, 1, 2, 3, 4.4), df = c(20, 25, 30, 50, 100, 150, 199, 200)),
  data.frame(t = c(sqrt(20), 5, 8, 15, 11, 14.2, 14.15, 20, 30),
             df = c(20, 20, 50, 150, 100, 200, 200, 200, 200)),
  expand.grid(t = c(0, 0.5, 1.96, 3, 5, 10), df = c(201, 250, 500, 1000, 10000, 100000)))
add("CDF_t", t_branch(g$t, g$df), g$t, g$df, 2, 2 * pt(-abs(g$t), g$df))
h <- g[seq(1, nrow(g), by = 3), ]
add("CDF_t", paste0(t_branch(h$t, h$df), "_one_tail"), h$t, h$df, 1, pt(-abs(h$t), h$df))

# ---- t quantiles for a two-tailed p, by Hill's branches.
qt_branch <- function(p, df) {
  h <- pi / 2
  a <- 1 / (df - 0.5)
  b <- 48 / a^2
  c <- ((20700 * a / b - 98) * a - 16) * a + 96.36
  d <- ((94.5 / (b + c) - 3) / b + 1) * sqrt(a * h) * df
  y <- (d * p)^(2 / df)
  ifelse(abs(df - 2) < 1e-12, "df_2",
         ifelse(df < 1.000000000001, "df_1",
                ifelse(y > a + 0.05, "large_sample", "small_sample")))
}
g <- expand.grid(p = c(1e-10, 1e-6, 1e-4, 0.001, 0.01, 0.05, 0.1, 0.2, 0.5, 0.8, 0.95, 0.99, 1),
                 df = c(1, 1.5, 2, 2.5, 3, 4, 5, 7, 10, 15, 20, 30, 50, 100, 1000, 1e5))
add("IDF_t", qt_branch(g$p, g$df), g$p, g$df, expected = qt(g$p / 2, g$df, lower.tail = FALSE))

# ---- studentized range upper tail: error df 1, 2, up to 120 (inner
# integration) and above.
g <- expand.grid(q = c(0.5, 1, 2, 3, 3.5, 4, 5, 6, 8), nm = c(2, 3, 5, 10, 20),
                 df = c(1, 2, 3, 5, 10, 20, 60, 120, 121, 200, 1000))
branch <- ifelse(g$df == 1, "df_1", ifelse(g$df == 2, "df_2",
                 ifelse(g$df <= 120, "df_3_to_120", "df_above_120")))
upper <- suppressWarnings(ptukey(g$q, g$nm, g$df, lower.tail = FALSE))  # NaN for df = 1
# ptukey wants df >= 2; for df = 1 the studentizing factor s = |Z|, with
# density 2 * dnorm(s), is integrated out of the range of normal means.
one <- g$df == 1
upper[one] <- mapply(function(q, nm) {
  integrate(function(s) ptukey(q * s, nm, Inf, lower.tail = FALSE) * 2 * dnorm(s), 0, Inf,
            rel.tol = 1e-12)$value
}, g$q[one], g$nm[one])
add("CDF_Q", branch, g$q, g$df, g$nm, upper)
# Above 120 error df the algorithm takes the limit of infinite df.
big <- g$df > 120
add("CDF_Q", "df_above_120_vs_infinite_df", g$q[big], g$df[big], g$nm[big],
    ptukey(g$q[big], g$nm[big], Inf, lower.tail = FALSE))

# ---- Rayleigh: the P whose critical value equals Z.
crit <- function(P, n) {
  z <- -log(P)
  A <- (2 * z - z^2) / 4
  B <- (12 * z - 3 * z^2 - z^3) / 72
  C <- (42 * z^2 - 12 * z - 8 * z^3 - z^4) / 288
  z + A / n + B / n^2 + C / n^3
}
g <- expand.grid(Z = seq(1.5, 6, by = 0.25), n = c(10, 12, 20, 50, 100, 1000))
ref <- mapply(function(Z, n) uniroot(function(P) crit(P, n) - Z, c(1e-6, 0.3), tol = 1e-15)$root,
              g$Z, g$n)
add("CDF_Rayleigh", "search", g$Z, g$n, expected = ref)

out <- do.call(rbind, rows)
fmt <- function(v) ifelse(is.na(v), "", sprintf("%.17g", v))
lines <- paste(out$fn, out$branch, fmt(out$a), fmt(out$b), fmt(out$c), fmt(out$expected), sep = ",")
writeLines(c("function,branch,a,b,c,expected", lines))
