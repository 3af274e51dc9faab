#include <iostream>
#include <string>

#include "cli/Comandos.h"
#include "db/Schema.h"

void RegistrarComandoSchema(CLI::App& app) {
  auto* cmd = app.add_subcommand("schema", "Imprime o DDL do esquema para um dialeto");
  auto dialeto = std::make_shared<std::string>();
  cmd->add_option("--dialeto", *dialeto, "sqlite ou postgresql")->required()
      ->check(CLI::IsMember({"sqlite", "postgresql"}));
  cmd->callback([dialeto] {
    std::cout << GerarDDL(*dialeto == "postgresql" ? TDialeto::dPostgreSQL : TDialeto::dSQLite);
  });
}
