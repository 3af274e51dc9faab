#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include "blocom/control/nFisRepositorioEFDBlocoM_U.h"
#include "blocom/repo/nFisRepositorioPisCofinsBlocoM_U.h"
#include "cli/Comandos.h"
#include "host/Database.h"
#include "base/Erros.h"
#include "base/Periodo.h"
#include "host/Nutilinclusao.h"
#include "host/Host.h"
#include "host/Nutildb.h"
#include "output/BlocoMJson.h"
#include "output/EscritorBlocoM.h"

namespace {
struct TOpcoesBlocoM {
  std::string Conexao;
  int Empresa = 0;
  std::string Competencia;
  std::string Inicio;
  std::string Fim;
  std::string Estab;
  std::string Modo = "empresa";
  bool Lancamentos = false;
  std::string Formato = "sped";
  std::string Saida;
  std::string Caminho = "geradores";
};

// Barra de progresso no stderr quando ele é um terminal; no máximo dez atualizações por segundo.
class TProgresso {
 public:
  TProgresso() : FAtivo(isatty(STDERR_FILENO) == 1) {}
  ~TProgresso() {
    if (FAtivo && FLinhas > 0) std::cerr << "\r\033[K" << std::flush;
  }
  void Linha() {
    ++FLinhas;
    if (!FAtivo) return;
    const auto agora = std::chrono::steady_clock::now();
    if (agora - FUltima < std::chrono::milliseconds(100)) return;
    FUltima = agora;
    static const char giro[] = {'|', '/', '-', '\\'};
    std::cerr << "\r\033[K" << giro[(FLinhas / 97) % 4] << " pisco: " << FLinhas << " linhas lidas" << std::flush;
  }

 private:
  bool FAtivo;
  long FLinhas = 0;
  std::chrono::steady_clock::time_point FUltima{};
};

// Confere que o banco tem as tabelas de que o Bloco M precisa antes de começar.
void ValidarEsquema(TDatabase& ABanco) {
  for (const char* tabela : {"ESTAB", "TOTALEFD", "TOTALEFDCRED", "TOTALEFDDEBITO"}) {
    try {
      auto ds = ABanco.Abrir(std::string("SELECT 1 FROM ") + tabela + " WHERE 1 = 0");
    } catch (const EBancoDados&) {
      throw EEntradaInvalida(std::string("O banco não tem o esquema do pisco (tabela ") + tabela +
                             " ausente). Crie-o com \"pisco demo-db\" ou aplique o DDL de \"pisco schema\".");
    }
  }
}

void ValidarEmpresa(TDatabase& ABanco, int AEmpresa) {
  auto ds = ABanco.Abrir("SELECT COUNT(*) QTD FROM ESTAB WHERE CODIGOEMPRESA = :CODIGOEMPRESA",
                         {TVariant{static_cast<int64_t>(AEmpresa)}});
  if (ds->Eof() || ds->FieldByName("QTD").AsInteger() == 0)
    throw EEntradaInvalida("Empresa " + std::to_string(AEmpresa) + " não encontrada (nenhum estabelecimento cadastrado)");
}

void EscreverSaida(const std::string& AArquivo, const std::string& AConteudo) {
  if (AArquivo.empty()) {
    std::cout << AConteudo << std::flush;
    return;
  }
  // Grava num nome temporário e renomeia: quem lê o arquivo nunca o vê pela metade.
  const std::filesystem::path destino(AArquivo);
  const std::filesystem::path temp = destino.string() + ".tmp-pisco";
  {
    std::ofstream f(temp, std::ios::binary | std::ios::trunc);
    if (!f) throw EEntradaInvalida("Não foi possível criar o arquivo de saída: " + AArquivo);
    f << AConteudo;
    f.close();
    if (!f) {
      std::filesystem::remove(temp);
      throw EPisco("Falha ao gravar o arquivo de saída: " + AArquivo);
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, destino, ec);
  if (ec) {
    std::filesystem::remove(temp);
    throw EPisco("Falha ao gravar o arquivo de saída " + AArquivo + ": " + ec.message());
  }
}

TConfigBlocoM MontarConfiguracao(const TOpcoesBlocoM& o) {
  TConfigBlocoM c;
  c.CodigoEmpresa = o.Empresa;
  PeriodoInformado(o.Competencia, o.Inicio, o.Fim, c.DataInicial, c.DataFinal);
  if (o.Modo == "empresa") {
    c.ModoGeracao = TModoGeracao::mgEmpresa;
    c.CodigoEstab = o.Estab;
  } else {
    c.ModoGeracao = o.Modo == "filial" ? TModoGeracao::mgFilial : TModoGeracao::mgSCP;
    if (o.Estab.empty()) throw EEntradaInvalida("O modo " + o.Modo + " exige --estab com o código do estabelecimento");
    if (EstabComoInteiro(o.Estab, 0) <= 0)
      throw EEntradaInvalida("No modo " + o.Modo + ", --estab deve ser um único código de estabelecimento: \"" +
                             o.Estab + "\"");
    c.CodigoEstab = o.Estab;
  }
  // O texto de estabelecimentos vira condição SQL: é validado antes de qualquer consulta.
  FilterInterval({"CODIGOESTAB"}, c.CodigoEstab);
  c.CodigoEstabExtraApuracao = c.CodigoEstab;
  return c;
}

// Caminho SQL: o repositório monolítico, sem a árvore de geradores. Um só M001 (tipo 0) e,
// no JSON, o M001 de cada SCP.
std::string BlocoMCaminhoSQL(const TConfigBlocoM& AConfig, bool AJson) {
  TRepoPisCofinsBlocoM repositorio;
  auto m001 = repositorio.CarregarDadosBlocoM(AConfig);
  std::ostringstream saida;
  if (!AJson) {
    EscreverBlocoM(saida, *m001);
    return saida.str();
  }
  TMapaAberturaBloco mapa;
  mapa.emplace(TTipoApuracao::taNormal, std::move(m001));
  std::vector<TMapaAberturaBloco> mapasSCP;
  mapasSCP.reserve(repositorio.GetResultadoSCP().size());
  std::vector<TResultadoSCPSaida> scp;
  for (const auto& [dados, m001SCP] : repositorio.GetResultadoSCP()) {
    mapasSCP.emplace_back();
    auto copia = std::make_unique<TM001AberturaBloco>();
    copia->Totalizar(*m001SCP);
    mapasSCP.back().emplace(TTipoApuracao::taNormal, std::move(copia));
    scp.push_back({dados.INSCRICAOSCP, &mapasSCP.back()});
  }
  saida << BlocoMParaJson(mapa, &scp).dump(2) << "\n";
  return saida.str();
}

void ExecutarBlocoM(const TOpcoesBlocoM& o) {
  TConfigBlocoM config = MontarConfiguracao(o);
  auto banco = TDatabase::Conectar(o.Conexao, TModoAbertura::maExistente);
  ValidarEsquema(*banco);
  ValidarEmpresa(*banco, o.Empresa);
  THost host(std::move(banco));
  THostScope escopo(host);

  TProgresso progresso;
  config.DoIncProgresso = [&progresso](TDataSet&) { progresso.Linha(); };
  if (o.Caminho == "sql") {
    EscreverSaida(o.Saida, BlocoMCaminhoSQL(config, o.Formato == "json"));
    return;
  }
  auto repositorio = TnFisRepositorioEFDBlocoMFabrica::CriarRepositorio(
      config.CodigoEmpresa, EstabComoInteiro(config.CodigoEstab), config.DataInicial, o.Lancamentos);
  auto mapa = repositorio->CarregarDadosBlocoM(config);

  std::ostringstream saida;
  if (o.Formato == "json") {
    std::vector<TResultadoSCPSaida> scp;
    for (const auto& s : repositorio->GetListaApuracaoSCP()) scp.push_back({s->CNPJ, s->EFD.get()});
    saida << BlocoMParaJson(*mapa, &scp).dump(2) << "\n";
  } else {
    auto total = repositorio->TotalizarBlocoM();
    EscreverBlocoM(saida, *total);
  }
  EscreverSaida(o.Saida, saida.str());
}
}  // namespace

void RegistrarComandoBlocoM(CLI::App& app) {
  auto o = std::make_shared<TOpcoesBlocoM>();
  auto* cmd = app.add_subcommand("blocom", "Calcula o Bloco M de uma empresa e período e o escreve (SPED ou JSON)");
  cmd->add_option("--db", o->Conexao, "Banco: arquivo SQLite ou postgresql://usuario@servidor/base")->required();
  cmd->add_option("--empresa", o->Empresa, "Código da empresa")->required()->check(CLI::PositiveNumber);
  auto* comp = cmd->add_option("--competencia", o->Competencia, "Mês da apuração, AAAA-MM");
  auto* ini = cmd->add_option("--inicio", o->Inicio, "Primeiro dia do período, AAAA-MM-DD (em vez de --competencia)");
  auto* fim = cmd->add_option("--fim", o->Fim, "Último dia do período, AAAA-MM-DD");
  ini->needs(fim);
  fim->needs(ini);
  comp->excludes(ini);
  comp->excludes(fim);
  cmd->add_option("--estab", o->Estab, "Estabelecimento (lista ou faixas: 1,3-5) ou o código no modo filial/scp");
  cmd->add_option("--modo", o->Modo, "empresa, filial ou scp")->check(CLI::IsMember({"empresa", "filial", "scp"}));
  cmd->add_flag("--lancamentos", o->Lancamentos, "Gera o Bloco M a partir dos lançamentos fiscais");
  cmd->add_option("--formato", o->Formato, "sped (leiaute oficial) ou json")->check(CLI::IsMember({"sped", "json"}));
  cmd->add_option("--saida", o->Saida, "Arquivo de saída (padrão: saída padrão)");
  cmd->add_option("--caminho", o->Caminho,
                  "geradores (padrão: árvore de geradores) ou sql (repositório monolítico, direto por SQL)")
      ->check(CLI::IsMember({"geradores", "sql"}));
  cmd->callback([o, comp, ini] {
    if (comp->count() == 0 && ini->count() == 0)
      throw CLI::RequiredError("--competencia (ou --inicio e --fim)");
    ExecutarBlocoM(*o);
  });
}
