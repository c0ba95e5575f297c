#!/usr/bin/env Rscript
# Reference values for the report's tests, computed once with R's own
# routines: cor.test (two-tailed Pearson p-values), aov (one-way F and its
# p-value), TukeyHSD (Tukey-Kramer differences and adjusted p-values, also
# for unequal group sizes) and eigen (eigenvalues of the correlation
# matrix). Writes the data sets the tests read and one CSV of references:
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
    ev <- eigen(cor(data[, vars]), symmetric = TRUE, only.values = TRUE)$values
    for (k in seq_along(ev)) add(name, "eigenvalue", "", k, ev[k])
  }
  # Groups in order of first appearance, as the report orders them.
  g <- factor(data[[group]], levels = unique(data[[group]]))
  for (v in vars) {
    fit <- aov(data[[v]] ~ g)
    s <- summary(fit)[[1]]
    add(name, "anova_F", v, "", s[["F value"]][1])
    add(name, "anova_p", v, "", s[["Pr(>F)"]][1])
    tk <- TukeyHSD(fit)$g
    for (r in rownames(tk)) {
      add(name, "tukey_diff", v, r, tk[r, "diff"])
      add(name, "tukey_p", v, r, tk[r, "p adj"])
    }
  }
}

reference("iris", flowers, "Species")
reference("mtcars", cars, "cyl")
reference("chickwts", chicks, "feed")
write.csv(do.call(rbind, rows), file.path(out, "report_reference.csv"), row.names = FALSE,
          quote = TRUE)
