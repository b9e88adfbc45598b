#pragma once

// Every command, control and timer id of the program, with its fixed number. Menu items, buttons
// and handlers of all folders share these; handlers never use a bare number.
enum CommandId : int {
    ID_LOGO_BUTTON = 0,
    ID_QUIT = 1,
    ID_OPEN_JOB = 3,
    ID_SAVE_JOB = 4,  // menu "Vorgang Speichern" and the save button
    ID_SAVE_JOB_AS = 5,
    ID_PRINT_BUTTON = 6,
    ID_STATUS_TIMER = 7,
    ID_LIVE_TIMER = 8,
    ID_ZOOM_IN = 9,
    ID_ZOOM_OUT = 10,
    ID_SHOW_FLOW = 11,
    ID_SHOW_VOLUME = 12,
    ID_SHOW_PRESSURE = 13,
    ID_MEASURE_1 = 14,
    ID_GRID = 15,
    ID_POINTS = 16,
    ID_RECORD = 17,
    ID_STOP = 18,
    ID_DEVICE_SETTINGS = 19,
    ID_CLEAR_DEVICE = 20,
    ID_GAUGES = 21,
    ID_UPLOAD = 22,
    ID_DELETE_RECORD = 23,
    ID_RENAME_RECORD = 24,
    ID_COLOUR_FLOW = 25,
    ID_COLOUR_VOLUME = 26,
    ID_COLOUR_PRESSURE = 27,
    ID_RECORD_LIST = 28,
    ID_OPEN_BUTTON = 29,
    ID_IMAGE_EXPORT = 31,
    ID_WIDTH_FLOW = 32,
    ID_WIDTH_VOLUME = 33,
    ID_WIDTH_PRESSURE = 34,
    ID_EXPORT_CSV = 35,
    ID_PRINT = 36,
    ID_PRINT_PREVIEW = 37,
    ID_FILTER = 38,
    ID_FILTER_SETTINGS = 39,
    ID_IMPORT_DATABASE = 46,
    ID_SUBTITLE = 48,
    ID_SERVICE_DIALOG = 55,
    ID_MEASURE_2 = 56,
    ID_SHOW_TIPS = 58,
    ID_FLOW_UNIT_LMIN = 61,
    ID_FLOW_UNIT_M3H = 62,
    ID_FLOW_UNIT_LS = 63,
    ID_FLOW_UNIT_GPM = 64,
    ID_TEXT_BOX = 65,
    ID_TARGET_FLOW = 66,
    ID_ABSOLUTE_TIME = 67,
    ID_HYDRANT_TEST = 68,      // "Hydrantenprüfung auswerten"
    ID_SPAN_MODE = 69,         // "Bereich auswerten"
    ID_SPAN_EXPORT = 70,       // "Bereich exportieren …"
    ID_SPAN_TO_TEXT_BOX = 71,  // the span's "In Textfeld übernehmen"
    ID_HYDRANT_REPORT = 72,    // "Prüfbericht …"

    // Plot window popup and commands.
    ID_PLOT_FIT = 2000,
    ID_PLOT_ZOOM_IN = 2001,
    ID_PLOT_ZOOM_OUT = 2002,
    ID_PLOT_CENTRE = 2003,
    ID_PLOT_LOCK_ASPECT = 2004,
    ID_PLOT_HELP = 2005,
    ID_PLOT_LEAVE_MODE = 2006,  // Escape on the chart: out of the measuring or span mode

    // The seven-segment clock's own timer.
    ID_CLOCK_TIMER = 3001,
};
