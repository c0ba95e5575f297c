#!/usr/bin/env Rscript
# Reference values for the analyses (descriptives, t tests, regression,
# correlation, rank tests, one-way ANOVA, principal components), computed
# with R's own routines: quantile (type 7), t.test, lm with summary,
# confint and anova, cor.test (Pearson and Spearman, exact = FALSE),
# wilcox.test, kruskal.test, aov, oneway.test, TukeyHSD, prcomp and
# nclass.Sturges / nclass.FD with their defaults; skewness and kurtosis by
# the G1 and G2 formulas (e1071's type 2) from the central moments. Writes the data sets
# the tests open and one CSV of (case, table, row, column, value):
#   Rscript scripts/make_analysis_reference.R [tests/data]
args <- commandArgs(trailingOnly = TRUE)
out <- if (length(args) > 0) args[1] else "tests/data"
save <- function(d, name) write.csv(d, file.path(out, name), row.names = FALSE, na = "")

tooth <- data.frame(len = ToothGrowth$len, supp = as.character(ToothGrowth$supp),
                    dose = ToothGrowth$dose)
save(tooth, "analysis_toothgrowth.csv")
sleepw <- data.frame(ID = 1:10, drug1 = sleep$extra[1:10], drug2 = sleep$extra[11:20])
save(sleepw, "analysis_sleep.csv")
plants <- data.frame(weight = PlantGrowth$weight, group = as.character(PlantGrowth$group))
save(plants, "analysis_plantgrowth.csv")
save(airquality, "analysis_airquality.csv")
save(iris, "analysis_iris.csv")
# Small samples without ties: the exact distributions (wilcox.test's own
# examples).
small <- data.frame(x = c(1.83, 0.50, 1.62, 2.48, 1.68, 1.88, 1.55, 3.06, 1.30),
                    y = c(0.878, 0.647, 0.598, 2.05, 1.06, 1.29, 1.06, 3.14, 1.29))
save(small, "analysis_depression.csv")
mw <- data.frame(value = c(0.80, 0.83, 1.89, 1.04, 1.45, 1.38, 1.91, 1.64, 0.73, 1.46,
                           1.15, 0.88, 0.90, 0.74, 1.21),
                 group = rep(c("a", "b"), c(10, 5)))
save(mw, "analysis_mw.csv")
cars <- read.csv(file.path(out, "report_mtcars.csv"))
chicks <- read.csv(file.path(out, "report_chickwts.csv"))

rows <- list()
add <- function(case, table, row, column, value) {
  rows[[length(rows) + 1]] <<- data.frame(case = case, table = table, row = row,
                                          column = column, value = sprintf("%.17g", value))
}
# Groups in order of first appearance, as the analyses order them.
first_seen <- function(g) factor(g, levels = unique(g))

group_stats <- function(case, x, labels) {
  for (i in seq_along(x)) {
    v <- x[[i]]
    add(case, "Group statistics", labels[i], "N", length(v))
    add(case, "Group statistics", labels[i], "Mean", mean(v))
    add(case, "Group statistics", labels[i], "SD", sd(v))
    add(case, "Group statistics", labels[i], "SE", sd(v) / sqrt(length(v)))
  }
}
# The interval is of the difference (of the mean from mu in one sample).
t_row <- function(case, row, t, difference, d, shift = 0) {
  add(case, "t test", row, "Difference", difference)
  add(case, "t test", row, "t", t$statistic)
  add(case, "t test", row, "df", t$parameter)
  add(case, "t test", row, "p", t$p.value)
  add(case, "t test", row, "Lower CL", t$conf.int[1] - shift)
  add(case, "t test", row, "Upper CL", t$conf.int[2] - shift)
  add(case, "t test", row, "Cohen's d", d)
}
one_sample <- function(case, x, name, mu, level = 0.95) {
  group_stats(case, list(x), name)
  t_row(case, "One sample", t.test(x, mu = mu, conf.level = level), mean(x) - mu,
        (mean(x) - mu) / sd(x), shift = mu)
}
paired <- function(case, x, y, names) {
  group_stats(case, list(x, y, x - y), c(names, "Difference"))
  d <- x - y
  t_row(case, "Paired", t.test(x, y, paired = TRUE), mean(d), mean(d) / sd(d))
}
two_sample <- function(case, x, g) {
  g <- first_seen(g)
  a <- x[g == levels(g)[1]]
  b <- x[g == levels(g)[2]]
  group_stats(case, list(a, b), levels(g))
  sp <- sqrt(((length(a) - 1) * var(a) + (length(b) - 1) * var(b)) / (length(a) + length(b) - 2))
  diff <- mean(a) - mean(b)
  t_row(case, "Pooled", t.test(a, b, var.equal = TRUE), diff, diff / sp)
  t_row(case, "Welch", t.test(a, b), diff, diff / sqrt((var(a) + var(b)) / 2))
}

regression <- function(case, data, y, xs, origin = FALSE, level = 0.95) {
  f <- as.formula(paste0("`", y, "` ~ ", if (origin) "0 + " else "",
                         paste0("`", xs, "`", collapse = " + ")))
  fit <- lm(f, data = data)
  s <- summary(fit)
  n <- nrow(data)
  add(case, "Model summary", "Model", "N", n)
  add(case, "Model summary", "Model", "R squared", s$r.squared)
  add(case, "Model summary", "Model", "Adjusted R squared", s$adj.r.squared)
  add(case, "Model summary", "Model", "SE of regression", s$sigma)
  add(case, "Model summary", "Model", "F", s$fstatistic[1])
  add(case, "Model summary", "Model", "p", pf(s$fstatistic[1], s$fstatistic[2], s$fstatistic[3],
                                              lower.tail = FALSE))
  rss <- sum(residuals(fit)^2)
  tss <- if (origin) sum(data[[y]]^2) else sum((data[[y]] - mean(data[[y]]))^2)
  dfr <- fit$df.residual
  dfm <- n - dfr - (if (origin) 0 else 1)
  add(case, "Analysis of variance", "Regression", "SS", tss - rss)
  add(case, "Analysis of variance", "Regression", "df", dfm)
  add(case, "Analysis of variance", "Regression", "MS", (tss - rss) / dfm)
  add(case, "Analysis of variance", "Regression", "F", s$fstatistic[1])
  add(case, "Analysis of variance", "Residual", "SS", rss)
  add(case, "Analysis of variance", "Residual", "df", dfr)
  add(case, "Analysis of variance", "Residual", "MS", rss / dfr)
  add(case, "Analysis of variance", "Total", "SS", tss)
  add(case, "Analysis of variance", "Total", "df", dfm + dfr)
  co <- s$coefficients
  ci <- confint(fit, level = level)
  terms <- c(if (origin) NULL else "Intercept", xs)
  for (k in seq_along(terms)) {
    add(case, "Coefficients", terms[k], "Coefficient", co[k, 1])
    add(case, "Coefficients", terms[k], "SE", co[k, 2])
    add(case, "Coefficients", terms[k], "t", co[k, 3])
    add(case, "Coefficients", terms[k], "p", co[k, 4])
    add(case, "Coefficients", terms[k], "Lower CL", ci[k, 1])
    add(case, "Coefficients", terms[k], "Upper CL", ci[k, 2])
  }
  for (x in xs) {
    b <- coef(fit)[[x]]
    add(case, "Coefficients", x, "Standardized", b * sd(data[[x]]) / sd(data[[y]]))
    if (origin) next
    others <- setdiff(xs, x)
    r2 <- if (length(others) == 0) 0 else
      summary(lm(as.formula(paste0("`", x, "` ~ ", paste0("`", others, "`", collapse = "+"))),
                 data = data))$r.squared
    add(case, "Coefficients", x, "VIF", 1 / (1 - r2))
  }
  # The first, middle and last fitted values and residuals.
  for (i in unique(c(1, (n + 1) %/% 2, n))) {
    add(case, "Data", i, "Fitted", fitted(fit)[i])
    add(case, "Data", i, "Residual", residuals(fit)[i])
  }
}

correlations <- function(case, data, vars) {
  for (i in seq_along(vars)) for (j in seq_along(vars)) if (i < j) {
    row <- paste(vars[i], "with", vars[j])
    a <- data[[vars[i]]]
    b <- data[[vars[j]]]
    p <- cor.test(a, b)
    s <- suppressWarnings(cor.test(a, b, method = "spearman", exact = FALSE))
    add(case, "Correlations", row, "N", length(a))
    add(case, "Correlations", row, "r", p$estimate)
    add(case, "Correlations", row, "p (r)", p$p.value)
    add(case, "Correlations", row, "Lower CL", p$conf.int[1])
    add(case, "Correlations", row, "Upper CL", p$conf.int[2])
    add(case, "Correlations", row, "rho", s$estimate)
    add(case, "Correlations", row, "p (rho)", s$p.value)
  }
}

rank_sums <- function(case, x, g) {
  r <- rank(x)
  for (l in levels(g)) {
    add(case, "Ranks", l, "N", sum(g == l))
    add(case, "Ranks", l, "Mean rank", mean(r[g == l]))
    add(case, "Ranks", l, "Rank sum", sum(r[g == l]))
  }
}
mann_whitney <- function(case, x, g, name) {
  g <- first_seen(g)
  rank_sums(case, x, g)
  w <- suppressWarnings(wilcox.test(x[g == levels(g)[1]], x[g == levels(g)[2]]))
  add(case, "Mann-Whitney U test", name, "U", w$statistic)
  add(case, "Mann-Whitney U test", name, "p", w$p.value)
}
kruskal <- function(case, x, g, name) {
  g <- first_seen(g)
  rank_sums(case, x, g)
  k <- kruskal.test(x, g)
  add(case, "Kruskal-Wallis test", name, "H", k$statistic)
  add(case, "Kruskal-Wallis test", name, "df", k$parameter)
  add(case, "Kruskal-Wallis test", name, "p", k$p.value)
}
signed_rank <- function(case, x, y, name) {
  w <- suppressWarnings(wilcox.test(x, y, paired = TRUE))
  add(case, "Wilcoxon signed-rank test", name, "N", sum(x != y))
  add(case, "Wilcoxon signed-rank test", name, "V", w$statistic)
  add(case, "Wilcoxon signed-rank test", name, "p", w$p.value)
}

cl <- function(level) paste0(100 * level, "% CL")
summary_row <- function(case, table, row, x, level) {
  n <- length(x)
  m2 <- mean((x - mean(x))^2)
  g1 <- mean((x - mean(x))^3) / m2^1.5
  g2 <- mean((x - mean(x))^4) / m2^2 - 3
  q <- quantile(x, c(0.25, 0.5, 0.75), type = 7, names = FALSE)
  half <- qt(1 - (1 - level) / 2, n - 1) * sd(x) / sqrt(n)
  values <- c(n, mean(x), sd(x), sd(x) / sqrt(n), mean(x) - half, mean(x) + half, min(x), q[1],
              q[2], q[3], max(x), g1 * sqrt(n * (n - 1)) / (n - 2),
              ((n + 1) * g2 + 6) * (n - 1) / ((n - 2) * (n - 3)))
  names <- c("N", "Mean", "SD", "SE", paste("Lower", cl(level)), paste("Upper", cl(level)),
             "Minimum", "Q1", "Median", "Q3", "Maximum", "Skewness", "Excess kurtosis")
  for (k in seq_along(values)) add(case, table, row, names[k], values[k])
}
describe <- function(case, data, vars, group = NULL, level = 0.95) {
  for (v in vars) summary_row(case, "Descriptive statistics", v, data[[v]], level)
  if (is.null(group)) return(invisible())
  g <- first_seen(as.character(data[[group]]))
  for (v in vars) for (l in levels(g))
    summary_row(case, "Descriptive statistics by group", paste0(v, ": ", l), data[[v]][g == l],
                level)
}
# The bins each rule asks for, per column.
bins <- function(case, data, vars) {
  for (v in vars) {
    add(case, "Bins", v, "Sturges", nclass.Sturges(data[[v]]))
    add(case, "Bins", v, "Freedman-Diaconis", nclass.FD(data[[v]]))
  }
}
one_way <- function(case, data, vars, group, level = 0.95) {
  g <- first_seen(as.character(data[[group]]))
  for (v in vars) {
    x <- data[[v]]
    a <- summary(aov(x ~ g))[[1]]
    row <- function(source) paste0(v, ": ", source)
    ssb <- a[1, "Sum Sq"]; ssw <- a[2, "Sum Sq"]; msw <- a[2, "Mean Sq"]
    add(case, "Analysis of variance", row("Between groups"), "SS", ssb)
    add(case, "Analysis of variance", row("Between groups"), "df", a[1, "Df"])
    add(case, "Analysis of variance", row("Between groups"), "MS", a[1, "Mean Sq"])
    add(case, "Analysis of variance", row("Between groups"), "F", a[1, "F value"])
    add(case, "Analysis of variance", row("Between groups"), "p", a[1, "Pr(>F)"])
    add(case, "Analysis of variance", row("Between groups"), "Eta squared", ssb / (ssb + ssw))
    add(case, "Analysis of variance", row("Between groups"), "Omega squared",
        (ssb - a[1, "Df"] * msw) / (ssb + ssw + msw))
    add(case, "Analysis of variance", row("Within groups"), "SS", ssw)
    add(case, "Analysis of variance", row("Within groups"), "df", a[2, "Df"])
    add(case, "Analysis of variance", row("Within groups"), "MS", msw)
    add(case, "Analysis of variance", row("Total"), "SS", ssb + ssw)
    add(case, "Analysis of variance", row("Total"), "df", length(x) - 1)
    bf <- anova(lm(abs(x - ave(x, g, FUN = median)) ~ g))
    add(case, "Brown-Forsythe and Welch tests", row("Brown-Forsythe"), "F", bf[1, "F value"])
    add(case, "Brown-Forsythe and Welch tests", row("Brown-Forsythe"), "p", bf[1, "Pr(>F)"])
    w <- oneway.test(x ~ g)
    add(case, "Brown-Forsythe and Welch tests", row("Welch"), "F", w$statistic)
    add(case, "Brown-Forsythe and Welch tests", row("Welch"), "df2", w$parameter[2])
    add(case, "Brown-Forsythe and Welch tests", row("Welch"), "p", w$p.value)
    for (l in levels(g)) {
      add(case, "Group statistics", row(l), "N", sum(g == l))
      add(case, "Group statistics", row(l), "Median", median(x[g == l]))
    }
    t <- TukeyHSD(aov(x ~ g), conf.level = level)$g
    sizes <- table(g)
    for (pair in rownames(t)) {
      ends <- strsplit(pair, "-")[[1]]
      se <- sqrt(msw * (1 / sizes[[ends[1]]] + 1 / sizes[[ends[2]]]))
      name <- row(paste(ends[1], "-", ends[2]))
      add(case, "Tukey-Kramer comparisons", name, "Difference", t[pair, "diff"])
      add(case, "Tukey-Kramer comparisons", name, "SE", se)
      add(case, "Tukey-Kramer comparisons", name, paste("Lower", cl(level)), t[pair, "lwr"])
      add(case, "Tukey-Kramer comparisons", name, paste("Upper", cl(level)), t[pair, "upr"])
      add(case, "Tukey-Kramer comparisons", name, "q", abs(t[pair, "diff"]) / (se / sqrt(2)))
      add(case, "Tukey-Kramer comparisons", name, "p", t[pair, "p adj"])
    }
  }
}
# Loadings and scores are compared without their sign, which an
# eigenvector does not have.
components <- function(case, data, vars) {
  pc <- prcomp(data[vars], scale. = TRUE)
  ev <- pc$sdev^2
  for (k in seq_along(vars)) {
    name <- paste0("PC", k)
    add(case, "Eigenvalues", "Eigenvalue", name, ev[k])
    add(case, "Eigenvalues", "Percent of variance", name, 100 * ev[k] / sum(ev))
    add(case, "Eigenvalues", "Cumulative percent", name, 100 * cumsum(ev)[k] / sum(ev))
    for (i in seq_along(vars))
      add(case, "Loadings", vars[i], name, pc$rotation[i, k] * pc$sdev[k])
    n <- nrow(data)
    for (i in unique(c(1, (n + 1) %/% 2, n))) add(case, "Data", i, paste(name, "score"), pc$x[i, k])
  }
}

aq <- airquality[complete.cases(airquality[, c("Ozone", "Solar.R", "Wind", "Temp")]), ]
ozone <- airquality$Ozone[!is.na(airquality$Ozone)]

two_sample("ttest_tooth_supp", tooth$len, tooth$supp)
two_sample("ttest_plants_ctrl_trt1", plants$weight[1:20], plants$group[1:20])
paired("ttest_sleep_paired", sleepw$drug1, sleepw$drug2, c("drug1", "drug2"))
paired("ttest_iris_paired", iris$Sepal.Width, iris$Sepal.Length, c("Sepal.Width", "Sepal.Length"))
one_sample("ttest_sleep_mu", sleepw$drug2, "drug2", 1)
one_sample("ttest_ozone_mu", ozone, "Ozone", 40, level = 0.9)
regression("regress_cars_three", cars, "mpg", c("disp", "hp", "wt"))
regression("regress_cars_one", cars, "mpg", "wt")
regression("regress_cars_origin", cars, "mpg", c("wt", "qsec"), origin = TRUE)
regression("regress_iris_petals", iris, "Petal.Width", "Petal.Length")
regression("regress_air", aq, "Ozone", c("Solar.R", "Wind", "Temp"), level = 0.99)
correlations("correlate_cars", cars, c("mpg", "disp", "hp", "drat", "wt", "qsec"))
correlations("correlate_iris", iris, names(iris)[1:4])
correlations("correlate_air", aq, c("Ozone", "Solar.R", "Wind", "Temp"))
mann_whitney("rank_tooth_supp", tooth$len, tooth$supp, "len")
mann_whitney("rank_mw_exact", mw$value, mw$group, "value")
kruskal("rank_plants", plants$weight, plants$group, "weight")
kruskal("rank_iris_species", iris$Sepal.Length, iris$Species, "Sepal.Length")
kruskal("rank_chicks", chicks$weight, chicks$feed, "weight")
signed_rank("rank_sleep_paired", sleepw$drug1, sleepw$drug2, "drug1 - drug2")
signed_rank("rank_depression_exact", small$x, small$y, "x - y")
describe("describe_iris", iris, names(iris)[1:4], "Species")
describe("describe_cars", cars, c("mpg", "hp", "wt", "qsec"), "cyl")
describe("describe_air", airquality[complete.cases(airquality[c("Ozone", "Temp")]), ],
         c("Ozone", "Temp"), level = 0.9)
bins("bins_iris", iris, names(iris)[1:4])
bins("bins_cars", cars, c("mpg", "disp", "hp", "wt", "qsec"))
bins("bins_plants", plants, "weight")
bins("bins_tooth", tooth, "len")
one_way("anova_plants", plants, "weight", "group")
one_way("anova_tooth_dose", tooth, "len", "dose", level = 0.9)
one_way("anova_iris", iris, c("Sepal.Length", "Petal.Width"), "Species")
one_way("anova_cars", cars, c("mpg", "disp"), "cyl")
one_way("anova_chicks", chicks, "weight", "feed")
components("pca_iris", iris, names(iris)[1:4])
components("pca_cars", cars, c("mpg", "disp", "hp", "drat", "wt", "qsec"))
components("pca_air", aq, c("Ozone", "Solar.R", "Wind", "Temp"))
write.csv(do.call(rbind, rows), file.path(out, "analysis_reference.csv"), row.names = FALSE)
