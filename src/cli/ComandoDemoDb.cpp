#include <chrono>
#include <iomanip>
#include <filesystem>
#include <iostream>
#include <string>

#include "cli/Comandos.h"
#include "db/Demo.h"
#include "base/Erros.h"

namespace {

bool EhURIPostgreSQL(const std::string& conexao) {
  return conexao.rfind("postgresql://", 0) == 0 || conexao.rfind("postgres://", 0) == 0;
}

}  // namespace

void RegistrarComandoDemoDb(CLI::App& app) {
  auto* cmd = app.add_subcommand("demo-db", "Cria um banco de demonstração (esquema e um mês de movimento)");
  struct TOpcoes {
    std::string Conexao;
    int Empresas = kPerfisDemo;
    int64_t Linhas = 0;
    std::string Competencia = "2024-01";
    uint64_t Semente = 20240101;
  };
  auto o = std::make_shared<TOpcoes>();
  cmd->add_option("CONEXAO", o->Conexao, "arquivo SQLite ou URI postgresql://...")->required();
  cmd->add_option("--empresas", o->Empresas, "número de empresas (perfis em rodízio)")->check(CLI::Range(1, 9999));
  cmd->add_option("--linhas", o->Linhas, "linhas de lançamento por empresa (padrão: tamanho da demonstração)")
      ->check(CLI::Range(int64_t{1}, int64_t{100000000}));
  cmd->add_option("--competencia", o->Competencia, "mês da demonstração, AAAA-MM (padrão 2024-01)");
  cmd->add_option("--semente", o->Semente, "semente do sorteio (mesma semente, mesmo banco)");
  cmd->callback([o] {
    TDateTime inicio, fim;
    try {
      CompetenciaParaPeriodo(o->Competencia, inicio, fim);
    } catch (const EPisco&) {
      throw CLI::ValidationError("--competencia", "competência inválida: " + o->Competencia + " (use AAAA-MM)");
    }
    TConfigDemo cfg;
    cfg.Empresas = o->Empresas;
    cfg.Linhas = o->Linhas;
    cfg.InicioCompetencia = inicio;
    cfg.Semente = o->Semente;
    cfg.Progresso = [](const std::string& msg) { std::cerr << "demo-db: " << msg << std::endl; };

    const bool arquivoNovo = !EhURIPostgreSQL(o->Conexao) && !std::filesystem::exists(o->Conexao);
    const auto t0 = std::chrono::steady_clock::now();
    TResumoDemo resumo;
    try {
      auto banco = TDatabase::Conectar(o->Conexao, TModoAbertura::maCriar);
      resumo = GerarBancoDemo(*banco, cfg);
    } catch (...) {
      // não deixa para trás um arquivo SQLite criado por esta execução
      std::error_code ec;
      if (arquivoNovo) std::filesystem::remove(o->Conexao, ec);
      throw;
    }
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::cerr << "demo-db: " << resumo.LinhasLancamento << " linhas de lançamento, " << resumo.LinhasGravadas
              << " linhas gravadas em " << std::fixed << std::setprecision(1) << s << " s" << std::endl;
  });
}
