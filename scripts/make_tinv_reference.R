# Reference values of the two-tailed inverse t (the worksheet function
# TInv(p, df)): t > 0 with P(|T| > t) = p, that is t = qt(1 - p/2, df).
#
# R's qt is the starting value: qt(p/2, df, lower.tail = FALSE) for p < 1/2
# (1 - p/2 would round small tails away) and qt(1 - p/2, df) otherwise. qt
# skips its own refinement in the far tails of small df and inherits the
# rounding of 1 - p/2 near p = 1, so each value is then polished by Newton
# steps on R's pbeta and dt, written with x = df / (df + t^2) and
# y = t^2 / (df + t^2), each used where it is the small one, so that no
# probability is formed as 1 minus another:
#   P(|T| > t) = pbeta(x, df/2, 1/2) = pbeta(y, 1/2, df/2, lower.tail = FALSE)
#   P(|T| < t) = pbeta(y, 1/2, df/2)
# Writes tests/data/tinv_reference.csv (17 significant digits).
#   Rscript scripts/make_tinv_reference.R
ps <- c(1e-300, 1e-100, 1e-30, 1e-15, 1e-10, 1e-6, 1e-4, 0.001, 0.01, 0.025, 0.05, 0.1,
        0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 0.95, 0.99, 0.999, 0.999999, 1)
dfs <- c(1, 2, 3, 4, 5, 7, 10, 15, 19, 20, 21, 30, 50, 100, 1000, 1e5, 1e7, 1e10)
rows <- expand.grid(p = ps, df = dfs)

polish <- function(p, df, t) {
  if (p == 1) return(0)
  for (i in 1:8) {
    y <- t * t / (df + t * t)
    x <- df / (df + t * t)
    if (p < 0.5) {
      logP <- if (x < 0.5) pbeta(x, df / 2, 0.5, log.p = TRUE)
              else pbeta(y, 0.5, df / 2, lower.tail = FALSE, log.p = TRUE)
      slope <- -2 * exp(dt(t, df, log = TRUE) - logP)
      step <- -(logP - log(p)) / slope
    } else {
      central <- pbeta(y, 0.5, df / 2)
      step <- ((1 - p) - central) / (2 * dt(t, df))
    }
    if (!is.finite(step)) break
    t <- t + step
    if (abs(step) <= 1e-17 * t) break
  }
  t
}

start <- ifelse(rows$p < 0.5,
                qt(rows$p / 2, rows$df, lower.tail = FALSE),
                qt(1 - rows$p / 2, rows$df))
rows$t <- mapply(polish, rows$p, rows$df, start)
args <- commandArgs(FALSE)
here <- dirname(sub("--file=", "", args[grep("--file=", args)]))
write.csv(data.frame(p = sprintf("%.17g", rows$p), df = sprintf("%.17g", rows$df),
                     t = sprintf("%.17g", rows$t)),
          file.path(here, "..", "tests", "data", "tinv_reference.csv"),
          row.names = FALSE, quote = FALSE)
