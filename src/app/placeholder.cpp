int placeholder_app_unit;
