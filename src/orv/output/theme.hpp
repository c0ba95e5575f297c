#pragma once
// A readable look for tables and charts in one call.
//
// The settings store starts empty, as the front end that fills it expects:
// every colour 0 (black), so tables and charts drawn before any theme is set
// come out black on black. A program that drives the library without such a
// front end calls UseReadableTheme() once after handing over the
// application:
//
//   excel::Application app;
//   clsMain().SetExcel(app);
//   UseReadableTheme();
namespace orv {

// Sets the settings store (clsProperties) to the "Clean" theme: dark blue
// bold titles on white, white bold centred wrapped headers on blue, black
// data on white with three decimals, grey italic summaries.
void UseReadableTheme();

}  // namespace orv
