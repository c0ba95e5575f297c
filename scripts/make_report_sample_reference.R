#!/usr/bin/env Rscript
# The tables `orv report` writes for its built-in iris sample, cell by cell,
# from R's own routines: mean, sd, t.test (confidence limits), cor and
# cor.test, eigen, aov, TukeyHSD (its intervals give the standard error of
# each difference), hist. Rows and columns count from 0 below each table's
# header row, as the report lays them out.
#   Rscript scripts/make_report_sample_reference.R [tests/data]
args <- commandArgs(trailingOnly = TRUE)
out <- if (length(args) > 0) args[1] else "tests/data"
d <- read.csv("apps/orv/data/iris.csv", check.names = FALSE)
vars <- names(d)[1:4]
g <- factor(d$Species, levels = unique(d$Species))
rows <- list()
add <- function(table, row, column, value) {
  text <- if (is.character(value)) value else sprintf("%.15g", value)
  rows[[length(rows) + 1]] <<- data.frame(table = table, row = row, column = column, value = text)
}
cells <- function(table, row, values) for (k in seq_along(values)) add(table, row, k - 1, values[[k]])

r <- cor(d[, vars])
e <- eigen(r, symmetric = TRUE)
for (i in seq_along(vars)) {
  v <- d[[vars[i]]]
  ci <- t.test(v, conf.level = 0.95)$conf.int
  cells("descriptives", i - 1, list(vars[i], length(v), mean(v), sd(v), sd(v) / sqrt(length(v)),
                                    ci[1], ci[2], min(v), max(v)))
  cells("correlation", i - 1, c(list(vars[i]), as.list(r[i, ])))
  for (j in seq_along(vars)) if (i != j)
    add("pvalues", i - 1, j, cor.test(v, d[[vars[j]]])$p.value)
  cells("loadings", i - 1, c(list(vars[i]), as.list(e$vectors[i, ] * sqrt(e$values))))
  for (s in seq_along(levels(g))) {
    w <- v[g == levels(g)[s]]
    cells("groups", (i - 1) * 3 + s - 1, list(vars[i], levels(g)[s], length(w), mean(w), sd(w)))
  }
  fit <- aov(v ~ g)
  a <- summary(fit)[[1]]
  cells("anova", (i - 1) * 3, list(vars[i], "Between groups", a[1, "Sum Sq"], a[1, "Df"],
                                   a[1, "Mean Sq"], a[1, "F value"], a[1, "Pr(>F)"]))
  cells("anova", (i - 1) * 3 + 1, list(vars[i], "Within groups", a[2, "Sum Sq"], a[2, "Df"],
                                       a[2, "Mean Sq"]))
  cells("anova", (i - 1) * 3 + 2, list(vars[i], "Total", sum(a[, "Sum Sq"]), sum(a[, "Df"])))
  tk <- TukeyHSD(fit, conf.level = 0.95)$g
  q95 <- qtukey(0.95, nlevels(g), fit$df.residual)
  for (k in seq_len(nrow(tk))) {
    se <- (tk[k, "upr"] - tk[k, "diff"]) / q95 * sqrt(2)
    cells("tukey", (i - 1) * 3 + k - 1, list(vars[i], sub("-", " - ", rownames(tk)[k]),
                                             tk[k, "diff"], se, tk[k, "lwr"], tk[k, "upr"],
                                             abs(tk[k, "diff"]) / se * sqrt(2), tk[k, "p adj"]))
  }
}
percent <- 100 * e$values / sum(e$values)
cells("components", 0, c(list("Eigenvalue"), as.list(e$values)))
cells("components", 1, c(list("% of variance"), as.list(percent)))
cells("components", 2, c(list("Cumulative %"), as.list(cumsum(percent))))
h <- hist(d[[vars[1]]], breaks = seq(4, 8, 0.5), right = FALSE, plot = FALSE)
for (b in seq_along(h$counts)) {
  last <- b == length(h$counts)
  label <- sprintf("%.1f to %s %.1f", h$breaks[b], if (last) "<=" else "<", h$breaks[b + 1])
  cells("histogram", b - 1, list(label, h$breaks[b], h$breaks[b + 1], h$counts[b]))
}
write.csv(do.call(rbind, rows), file.path(out, "report_sample_reference.csv"), row.names = FALSE)
