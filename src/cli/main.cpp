#include <cstdio>
#include <exception>
#include <iostream>

#include "cli/Comandos.h"
#include "base/Erros.h"
#include "base/Versao.h"

namespace {
// Os textos da biblioteca de linha de comando são em inglês; o usuário lê português.
// Subcomandos herdam ajuda, grupos e mensagem de falha do app na criação: chamar antes de registrá-los.
void TraduzirTextos(CLI::App& app) {
  auto fmt = app.get_formatter();
  for (const auto& [en, pt] : std::initializer_list<std::pair<const char*, const char*>>{
           {"Usage", "Uso"}, {"OPTIONS", "OPÇÕES"}, {"SUBCOMMAND", "SUBCOMANDO"}, {"SUBCOMMANDS", "SUBCOMANDOS"},
           {"REQUIRED", "OBRIGATÓRIA"}, {"Positionals", "Posicionais"}, {"Needs", "Requer"},
           {"Excludes", "Exclui"}, {"TEXT", "TEXTO"}, {"INT", "INTEIRO"}, {"UINT", "INTEIRO"}, {"FLOAT", "NÚMERO"}})
    fmt->label(en, pt);
  app.option_defaults()->group("Opções");
  app.set_help_flag("-h,--help", "Mostra esta ajuda e sai");
  app.failure_message([](const CLI::App*, const CLI::Error& e) {
    std::string msg = e.what();
    const std::string obrigatoria = " is required";
    if (msg == "A subcommand is required")
      msg = "informe um subcomando (schema, blocom, demo-db, sql ou conferir)";
    else if (msg.size() > obrigatoria.size() && msg.ends_with(obrigatoria))
      msg = "falta a opção obrigatória " + msg.substr(0, msg.size() - obrigatoria.size());
    else if (const auto p = msg.find("not expected: "); p != std::string::npos)
      msg = "argumento não esperado: " + msg.substr(p + 14);
    return "pisco: " + msg + "\nUse --help para ver as opções.\n";
  });
}
}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"pisco — Bloco M da EFD-Contribuições (PIS/COFINS) a partir da base fiscal"};
  app.require_subcommand(1);
  TraduzirTextos(app);
  app.set_help_all_flag("--ajuda-completa", "Mostra a ajuda de todos os subcomandos");
  app.set_version_flag("--versao", std::string("pisco ") + kPiscoVersao, "Mostra a versão e sai");
  RegistrarComandoSchema(app);
  RegistrarComandoBlocoM(app);
  RegistrarComandoDemoDb(app);
  RegistrarComandoSql(app);
  RegistrarComandoConferir(app);
  for (auto* sub : app.get_subcommands({})) {
    sub->group("Subcomandos");
    // a ajuda do subcomando nasce antes de herdar o grupo padrão: recriada já no grupo certo
    sub->set_help_flag("-h,--help", "Mostra esta ajuda e sai");
    sub->set_help_all_flag("--ajuda-completa", "Mostra a ajuda de todos os subcomandos");
  }
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
