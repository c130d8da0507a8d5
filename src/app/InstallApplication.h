#pragma once

class AppController;

// Everything the program connects between making the application object and the controller's awakeFromNib: the
// alert sound, the hooks through which lower layers open the windows of higher ones, and every subsystem's menu
// items. main() calls it once, after installing the desktop's message boxes; the whole-program test calls it (with
// scripted alerts) to check that no hook of the real program is left empty.
//
//   DOvurApplication app(argc, argv);
//   QtPrompts prompts;
//   Prompts::install(&prompts);
//   AppController controller;
//   installApplication(controller);
//   if (controller.awakeFromNib()) ...
void installApplication(AppController& controller);
