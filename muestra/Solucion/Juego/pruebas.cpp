// Pruebas que el proyecto todavía no compila.
int pruebaNivel() { return 1; }
