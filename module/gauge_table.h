// The module's gauge table: every gauge in the order the panel system lists them, with its
// default width in millimetres. Linkage is built from it, and each gauge unit takes its width here.
#pragma once

#include "module/gauge_records.h"

#define CORVAN_GAUGE_TABLE(X) \
    X(Registration, 150) \
    X(ATC_Toggle, 19) \
    X(Kneeboard_Toggle, 19) \
    X(Map_Toggle, 19) \
    X(Invisible_Toggle, 19) \
    X(Radios_Toggle, 19) \
    X(GPS_Toggle, 19) \
    X(Throttle_Toggle, 19) \
    X(Compass_Toggle, 19) \
    X(Close_Subpanel, 19) \
    X(Landing_View_Toggle, 19) \
    X(Electricity_Toggle, 19) \
    X(Overhead_Toggle, 19) \
    X(Nav_Instruments_Toggle, 19) \
    X(Autopilot_Toggle, 19) \
    X(Bendix_KN53_NAV1, 100) \
    X(Bendix_KN53_NAV2, 100) \
    X(Bendix_KY196_COM1, 100) \
    X(Bendix_KY196_COM2, 100) \
    X(Bendix_KR87_ADF, 100) \
    X(Bendix_KMA24H_Audiopanel, 100) \
    X(Bendix_KT76A_ATC, 100) \
    X(Bendix_KT76C_ATC, 100) \
    X(Bendix_KT70_ATC, 100) \
    X(AP_Annunciator, 100) \
    X(Autopilot, 150) \
    X(AP_Altitude_Selector, 100) \
    X(Turn_Coordinator, 100) \
    X(Vertical_Speed, 100) \
    X(Airspeed, 100) \
    X(Altimeter, 100) \
    X(Bendix_KR21_OMI_Lights, 100) \
    X(Bendix_KD1572_DME, 100) \
    X(Bendix_KI256_ADI, 100) \
    X(Bendix_KI229_RMI, 100) \
    X(Bendix_KCS55A_HSI, 90) \
    X(Bendix_KI206_VOR1, 100) \
    X(Bendix_KI206_VOR2, 100) \
    X(Bendix_KI202_VOR2, 100) \
    X(Fuel_Quantity, 100) \
    X(Fuel_Pressure, 100) \
    X(Torque, 100) \
    X(InterStage_Turbine_Temp, 100) \
    X(Gas_Generator_RPM, 100) \
    X(Propeller_RPM, 100) \
    X(Oil_Temp_Press, 100) \
    X(Fuel_Consumption, 100) \
    X(Throttle_Quadrant, 150) \
    X(Bendix_RDS81_Weather_Radar, 300) \
    X(NAV_GPS_Switch_Annunciator, 30) \
    X(Aux_BP_Switch, 30) \
    X(RMI_Switch, 30) \
    X(Avionics_Panel_Switches, 30) \
    X(Taxi_Lights_Switch, 30) \
    X(Landing_Lights_Switch, 30) \
    X(Nav_Lights_Switch, 30) \
    X(Strobe_Lights_Switch, 30) \
    X(Pitot_Heat_Switch_1, 30) \
    X(Pitot_Heat_Switch_2, 30) \
    X(Struct_DeIce_Switch, 30) \
    X(DeIce_Light_Switch, 30) \
    X(Prop_DeIce_Switch, 30) \
    X(Wind_L_DeIce_Switch, 30) \
    X(Wind_R_DeIce_Switch, 30) \
    X(InertSep_DeIce_Switch, 30) \
    X(DeIce_Lights_Test_Button, 20) \
    X(Flaps_Lever, 50) \
    X(Ignition_Switch, 30) \
    X(Starter_Switch, 30) \
    X(Elec_Switchboard, 200) \
    X(Pressu_Main_Switch, 30) \
    X(Digital_OAT, 90) \
    X(Suction_Indicator, 100) \
    X(Parking_Brake, 52) \
    X(Gear_Lever, 45) \
    X(Magnetic_Compass, 100) \
    X(Annunciator, 250) \
    X(Astrotech_Timer, 100) \
    X(Voltmeter, 100) \
    X(Ammeter, 100) \
    X(Flaps_Position, 100) \
    X(Pitch_Trim_Wheel, 40) \
    X(Trims_Position, 100) \
    X(Cabin_Altimeter, 100) \
    X(Pressu_Settings, 100) \
    X(Gear_Lamps, 40) \
    X(Master_Lights, 40) \
    X(Struct_DeIce_Light, 30) \
    X(Prop_DeIce_Light, 30) \
    X(Wind_L_DeIce_Light, 30) \
    X(Wind_R_DeIce_Light, 30) \
    X(AP_Tester, 100) \

#define CORVAN_DECLARE_GAUGE(name, mm) extern GAUGEHDR gauge_##name;
CORVAN_GAUGE_TABLE(CORVAN_DECLARE_GAUGE)
#undef CORVAN_DECLARE_GAUGE

#define CORVAN_GAUGE_WIDTH(name, mm) kWidthMm_##name = mm,
enum GaugeWidthMm : uint32_t { CORVAN_GAUGE_TABLE(CORVAN_GAUGE_WIDTH) };
#undef CORVAN_GAUGE_WIDTH

// Defines a gauge's GAUGEHDR with its table name and width.
#define DEFINE_GAUGE(name, root_list, mouse_list, callback)                                       \
    GAUGEHDR gauge_##name = {.gauge_header_version = kGaugeHeaderVersion,                         \
                             .gauge_name = #name,                                                 \
                             .elements_list = root_list,                                          \
                             .size_x_mm = kWidthMm_##name,                                        \
                             .mouse_rect = mouse_list,                                            \
                             .gauge_callback = callback,                                          \
                             .user_data = 0,                                                      \
                             .parameters = nullptr}
