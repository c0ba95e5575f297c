#!/usr/bin/env Rscript
# Reference values for the scatter chart's computed bands, from R's own
# predict.lm: x 1..5 against y 2, 4, 5, 4, 5, the bands evaluated at ten
# evenly spaced x from the smallest to the largest. Cases: 95% confidence,
# 90% prediction, 95% confidence through the origin, and one standard error
# of the fit either side of the line.
#   Rscript scripts/make_scatter_bands_reference.R [tests/data]
args <- commandArgs(trailingOnly = TRUE)
out <- if (length(args) > 0) args[1] else "tests/data"
d <- data.frame(x = 1:5, y = c(2, 4, 5, 4, 5))
grid <- data.frame(x = seq(1, 5, length.out = 10))
fit <- lm(y ~ x, d)
origin <- lm(y ~ x - 1, d)
band <- function(name, p) data.frame(band = name, x = grid$x, lower = p[, "lwr"], upper = p[, "upr"])
se <- predict(fit, grid, se.fit = TRUE)
rows <- rbind(
  band("confidence95", predict(fit, grid, interval = "confidence", level = 0.95)),
  band("prediction90", predict(fit, grid, interval = "prediction", level = 0.90)),
  band("origin95", predict(origin, grid, interval = "confidence", level = 0.95)),
  data.frame(band = "stderr", x = grid$x, lower = se$fit - se$se.fit, upper = se$fit + se$se.fit))
for (k in c("x", "lower", "upper")) rows[[k]] <- sprintf("%.15g", rows[[k]])
write.csv(rows, file.path(out, "scatter_bands_reference.csv"), row.names = FALSE, quote = FALSE)
