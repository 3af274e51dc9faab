#include <cstdio>
#include <exception>
#include <iostream>

#include "cli/Comandos.h"
#include "base/Erros.h"
#include "base/Versao.h"

int main(int argc, char** argv) {
  CLI::App app{"pisco — Bloco M da EFD-Contribuições (PIS/COFINS) a partir da base fiscal"};
  app.require_subcommand(1);
  app.set_help_all_flag("--ajuda-completa", "Mostra a ajuda de todos os subcomandos");
  app.set_version_flag("--versao", std::string("pisco ") + kPiscoVersao, "Mostra a versão e sai");
  RegistrarComandoSchema(app);
  RegistrarComandoBlocoM(app);
  RegistrarComandoDemoDb(app);
  RegistrarComandoSql(app);
  RegistrarComandoConferir(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::RuntimeError& e) {
    return e.get_exit_code();  // o comando já disse o que tinha a dizer
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kSaidaErroUso;
  } catch (const std::exception& e) {
    std::cerr << "pisco: " << e.what() << "\n";
    return kSaidaErroExecucao;
  }
  return 0;
}
