#!/usr/bin/env Rscript
# Reference values for the report's tests, computed once with R's own
# routines: cor.test (two-tailed Pearson p-values, Fisher z intervals), aov
# (one-way F and its p-value, sums of squares for eta and omega squared;
# on |x - group median| the Brown-Forsythe test), oneway.test (Welch),
# TukeyHSD (Tukey-Kramer differences, intervals and adjusted p-values, also
# for unequal group sizes), eigen (eigenvalues of the correlation matrix),
# quantile type 7, t.test (intervals of group means), and skewness and
# excess kurtosis as G1 and G2 from the central moments. Writes the data sets the tests read and one CSV of references:
#   Rscript scripts/make_report_reference.R [tests/data]
args <- commandArgs(trailingOnly = TRUE)
out <- if (length(args) > 0) args[1] else "tests/data"

# The data sets besides the built-in iris sample, with the column names the
# report shows.
cars <- data.frame(mpg = mtcars$mpg, disp = mtcars$disp, hp = mtcars$hp,
                   drat = mtcars$drat, wt = mtcars$wt, qsec = mtcars$qsec,
                   cyl = paste0("cyl", mtcars$cyl))
write.csv(cars, file.path(out, "report_mtcars.csv"), row.names = FALSE)
chicks <- data.frame(weight = chickwts$weight, feed = as.character(chickwts$feed))
write.csv(chicks, file.path(out, "report_chickwts.csv"), row.names = FALSE)
teeth <- data.frame(len = ToothGrowth$len, dose = paste0("dose", ToothGrowth$dose))
write.csv(teeth, file.path(out, "report_toothgrowth.csv"), row.names = FALSE)
plants <- data.frame(weight = PlantGrowth$weight, group = as.character(PlantGrowth$group))
write.csv(plants, file.path(out, "report_plantgrowth.csv"), row.names = FALSE)
air <- airquality[complete.cases(airquality), c("Ozone", "Solar.R", "Wind", "Temp", "Month")]
air$Month <- paste0("month", air$Month)
write.csv(air, file.path(out, "report_airquality.csv"), row.names = FALSE)
flowers <- data.frame(`Sepal length` = iris$Sepal.Length, `Sepal width` = iris$Sepal.Width,
                      `Petal length` = iris$Petal.Length, `Petal width` = iris$Petal.Width,
                      Species = as.character(iris$Species), check.names = FALSE)

rows <- list()
add <- function(dataset, kind, variable, term, value) {
  rows[[length(rows) + 1]] <<- data.frame(dataset = dataset, kind = kind, variable = variable,
                                          term = term, value = sprintf("%.17g", value))
}

reference <- function(name, data, group) {
  vars <- setdiff(names(data), group)
  if (length(vars) >= 2) {
    for (i in seq_along(vars)) for (j in seq_along(vars)) if (i < j) {
      t <- cor.test(data[[vars[i]]], data[[vars[j]]])
      add(name, "cor_p", vars[i], vars[j], t$p.value)
    }
    for (i in seq_along(vars)) for (j in seq_along(vars)) if (i < j) {
      ci <- cor.test(data[[vars[i]]], data[[vars[j]]])$conf.int
      add(name, "cor_lwr", vars[i], vars[j], ci[1])
      add(name, "cor_upr", vars[i], vars[j], ci[2])
    }
    ev <- eigen(cor(data[, vars]), symmetric = TRUE, only.values = TRUE)$values
    for (k in seq_along(ev)) add(name, "eigenvalue", "", k, ev[k])
  }
  # Groups in order of first appearance, as the report orders them.
  g <- factor(data[[group]], levels = unique(data[[group]]))
  for (v in vars) {
    x <- data[[v]]
    n <- length(x)
    q <- quantile(x, c(0.25, 0.5, 0.75), type = 7)
    for (k in 1:3) add(name, c("q1", "median", "q3")[k], v, "", q[[k]])
    m2 <- mean((x - mean(x))^2)
    g1 <- mean((x - mean(x))^3) / m2^1.5
    g2 <- mean((x - mean(x))^4) / m2^2 - 3
    add(name, "skewness", v, "", g1 * sqrt(n * (n - 1)) / (n - 2))
    add(name, "kurtosis", v, "", ((n + 1) * g2 + 6) * (n - 1) / ((n - 2) * (n - 3)))
    for (l in levels(g)) {
      w <- x[g == l]
      ci <- t.test(w)$conf.int
      add(name, "group_se", v, l, sd(w) / sqrt(length(w)))
      add(name, "group_lwr", v, l, ci[1])
      add(name, "group_upr", v, l, ci[2])
      add(name, "group_median", v, l, median(w))
    }
    fit <- aov(x ~ g)
    s <- summary(fit)[[1]]
    add(name, "anova_F", v, "", s[["F value"]][1])
    add(name, "anova_p", v, "", s[["Pr(>F)"]][1])
    ss <- s[["Sum Sq"]]
    add(name, "eta_squared", v, "", ss[1] / sum(ss))
    add(name, "omega_squared", v, "", (ss[1] - s[["Df"]][1] * s[["Mean Sq"]][2]) /
                                      (sum(ss) + s[["Mean Sq"]][2]))
    bf <- summary(aov(abs(x - ave(x, g, FUN = median)) ~ g))[[1]]
    add(name, "bf_F", v, "", bf[["F value"]][1])
    add(name, "bf_p", v, "", bf[["Pr(>F)"]][1])
    welch <- oneway.test(x ~ g, var.equal = FALSE)
    add(name, "welch_F", v, "", welch$statistic)
    add(name, "welch_df", v, "", welch$parameter[2])
    add(name, "welch_p", v, "", welch$p.value)
    tk <- TukeyHSD(fit)$g
    for (r in rownames(tk)) {
      add(name, "tukey_diff", v, r, tk[r, "diff"])
      add(name, "tukey_p", v, r, tk[r, "p adj"])
      add(name, "tukey_halfwidth", v, r, (tk[r, "upr"] - tk[r, "lwr"]) / 2)
    }
  }
}

reference("iris", flowers, "Species")

# The regression bands of the report's scatter chart (Sepal width on Sepal
# length) at 25 evenly spaced lengths, by predict.lm at four levels; the
# level is the variable, the point (from 1) the term.
fit <- lm(`Sepal width` ~ `Sepal length`, data = flowers)
grid <- data.frame(`Sepal length` = seq(min(flowers$`Sepal length`), max(flowers$`Sepal length`),
                                        length.out = 25), check.names = FALSE)
for (level in c(0.9, 0.95, 0.975, 0.99)) for (band in c("confidence", "prediction")) {
  b <- predict(fit, grid, interval = band, level = level)
  for (k in 1:25) {
    add("iris", paste0(band, "_lower"), level, k, b[k, "lwr"])
    add("iris", paste0(band, "_upper"), level, k, b[k, "upr"])
  }
}
reference("mtcars", cars, "cyl")
reference("chickwts", chicks, "feed")
reference("toothgrowth", teeth, "dose")
reference("plantgrowth", plants, "group")
reference("airquality", air, "Month")
write.csv(do.call(rbind, rows), file.path(out, "report_reference.csv"), row.names = FALSE,
          quote = TRUE)
