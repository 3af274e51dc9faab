// pisco conferir: calcula o Bloco M pelos dois caminhos (árvore de geradores e repositório
// monolítico por SQL) e lista, registro a registro e campo a campo, onde eles diferem.
#include <iostream>
#include <memory>
#include <sstream>

#include "base/Erros.h"
#include "blocom/control/nFisRepositorioEFDBlocoMFabrica_U.h"
#include "blocom/repo/nFisRepositorioPisCofinsBlocoM_U.h"
#include "cli/CadastroEmpresa.h"
#include "cli/Comandos.h"
#include "host/Database.h"
#include "host/Host.h"
#include "host/Nutilinclusao.h"
#include "host/OpcaoEFD.h"
#include "output/ConferenciaBlocoM.h"
#include "output/ExecucaoBlocoM.h"

namespace {
struct TOpcoesConferir {
  std::string Conexao;
  int Empresa = 0;
  std::string Competencia;
  std::string Estab;
  std::string Modo = "empresa";
  std::string Formato = "texto";
  bool Lancamentos = false;  // totais já apurados contra os lançamentos, em vez de SQL contra geradores
};

constexpr const char* kNomeSQL = "sql";
constexpr const char* kNomeGeradores = "geradores";
constexpr const char* kNomeTotais = "totais";
constexpr const char* kNomeLancamentos = "lancamentos";

// Soma dos M001 de uma execução da árvore de geradores.
std::unique_ptr<TM001AberturaBloco> RodarGeradores(const TConfigBlocoM& AConfig, bool ALancamentos) {
  auto repositorio = TnFisRepositorioEFDBlocoMFabrica::CriarRepositorio(
      AConfig.CodigoEmpresa, EstabComoInteiro(AConfig.CodigoEstab), AConfig.DataInicial, ALancamentos);
  auto mapa = repositorio->CarregarDadosBlocoM(AConfig);
  return repositorio->TotalizarBlocoM();
}

// Os totais guardados da EFD contra o cálculo pelos lançamentos: mostra onde os totais gravados
// pelo sistema de origem deixaram de bater com os lançamentos do período.
int ConferirLancamentos(const TOpcoesConferir& o, const TConfigBlocoM& AConfig) {
  ConferirRegimeDaEmpresa(AConfig);
  if (!ControleOpcaoEFD().GetEhOptanteEFD())
    throw EEntradaInvalida("A empresa " + std::to_string(o.Empresa) +
                           " não é optante da EFD no período: não há totais apurados para comparar com os lançamentos");
  const auto totais = RodarGeradores(AConfig, false);
  const auto lancamentos = RodarGeradores(AConfig, true);
  const auto difs = CompararBlocoM(*totais, *lancamentos);
  if (o.Formato == "json") {
    nlohmann::ordered_json j;
    j["empresa"] = o.Empresa;
    j["competencia"] = o.Competencia;
    j["modo"] = o.Modo;
    j["diferencas"] = DiferencasParaJson(difs, kNomeTotais, kNomeLancamentos);
    std::cout << j.dump(2) << "\n";
  } else if (difs.empty()) {
    std::cout << "Os totais apurados e os lançamentos dão o mesmo Bloco M.\n";
  } else {
    std::cout << DiferencasParaTexto(difs, kNomeTotais, kNomeLancamentos);
    std::cout << difs.size() << (difs.size() == 1 ? " diferença" : " diferenças")
              << " entre os totais apurados e os lançamentos.\n";
  }
  return difs.empty() ? 0 : kSaidaErroExecucao;
}

TConfigBlocoM Configuracao(const TOpcoesConferir& o) {
  TConfigBlocoM c;
  c.CodigoEmpresa = o.Empresa;
  CompetenciaParaPeriodo(o.Competencia, c.DataInicial, c.DataFinal);
  c.ModoGeracao = o.Modo == "empresa" ? TModoGeracao::mgEmpresa
                  : o.Modo == "filial" ? TModoGeracao::mgFilial
                                       : TModoGeracao::mgSCP;
  if (c.ModoGeracao != TModoGeracao::mgEmpresa && EstabComoInteiro(o.Estab, 0) <= 0)
    throw EEntradaInvalida("No modo " + o.Modo + ", --estab deve ser um único código de estabelecimento: \"" + o.Estab +
                           "\"");
  c.CodigoEstab = o.Estab;
  FilterInterval({"CODIGOESTAB"}, c.CodigoEstab);  // recusa texto que não é lista de estabelecimentos
  c.CodigoEstabExtraApuracao = c.CodigoEstab;
  return c;
}

int ExecutarConferir(const TOpcoesConferir& o) {
  TConfigBlocoM config = Configuracao(o);
  auto banco = TDatabase::Conectar(o.Conexao, TModoAbertura::maExistente);
  CompletarComCadastro(*banco, config, "", "");
  THost host(std::move(banco));
  THostScope escopo(host);
  if (o.Lancamentos) return ConferirLancamentos(o, config);

  TRepoPisCofinsBlocoM sql;
  auto m001SQL = sql.CarregarDadosBlocoM(config);

  // A fábrica escolhe a árvore pela opção da EFD: totais já apurados ou, fora dela, os regimes de lucro.
  auto repositorio = TnFisRepositorioEFDBlocoMFabrica::CriarRepositorio(
      config.CodigoEmpresa, EstabComoInteiro(config.CodigoEstab), config.DataInicial, false);
  // O mapa fica vivo até a soma: TotalizarBlocoM lê os M001 dele.
  auto mapa = repositorio->CarregarDadosBlocoM(config);
  auto total = repositorio->TotalizarBlocoM();
  const std::vector<TDiferencaBlocoM> difs = CompararBlocoM(*m001SQL, *total);

  if (o.Formato == "json") {
    nlohmann::ordered_json j;
    j["empresa"] = o.Empresa;
    j["competencia"] = o.Competencia;
    j["modo"] = o.Modo;
    j["diferencas"] = DiferencasParaJson(difs, kNomeSQL, kNomeGeradores);
    std::cout << j.dump(2) << "\n";
  } else if (difs.empty()) {
    std::cout << "Os dois caminhos dão o mesmo Bloco M.\n";
  } else {
    std::cout << DiferencasParaTexto(difs, kNomeSQL, kNomeGeradores);
    std::cout << difs.size() << (difs.size() == 1 ? " diferença" : " diferenças") << " entre o caminho SQL e a árvore "
              << "de geradores.\n";
  }
  return difs.empty() ? 0 : kSaidaErroExecucao;
}
}  // namespace

void RegistrarComandoConferir(CLI::App& app) {
  auto o = std::make_shared<TOpcoesConferir>();
  auto* cmd = app.add_subcommand(
      "conferir", "Calcula o Bloco M pelos dois caminhos (geradores e SQL) e lista onde diferem (código 1 se diferem)");
  cmd->add_option("--db", o->Conexao, "Banco: arquivo SQLite ou postgresql://usuario@servidor/base")->required();
  cmd->add_option("--empresa", o->Empresa, "Código da empresa")->required()->check(CLI::PositiveNumber);
  cmd->add_option("--competencia", o->Competencia, "Mês da apuração, AAAA-MM")->required();
  cmd->add_option("--estab", o->Estab, "Estabelecimento (lista ou faixas: 1,3-5) ou o código no modo filial/scp");
  cmd->add_option("--modo", o->Modo, "empresa, filial ou scp")->check(CLI::IsMember({"empresa", "filial", "scp"}));
  cmd->add_option("--formato", o->Formato, "texto ou json")->check(CLI::IsMember({"texto", "json"}));
  cmd->add_flag("--lancamentos", o->Lancamentos,
                "Compara os totais já apurados da EFD com o cálculo pelos lançamentos fiscais");
  cmd->callback([o] {
    const int codigo = ExecutarConferir(*o);
    if (codigo != 0) throw CLI::RuntimeError(codigo);
  });
}
