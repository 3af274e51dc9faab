#include "output/ExecucaoBlocoM.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/Erros.h"
#include "blocom/control/nFisRepositorioEFDBlocoMFabrica_U.h"
#include "blocom/repo/nFisRepositorioPisCofinsBlocoM_U.h"
#include "host/LucroRealPresumido.h"
#include "host/OpcaoEFD.h"
#include "output/BlocoMJson.h"
#include "output/EscritorBlocoM.h"

void GravarArquivoSaida(const std::string& AArquivo, const std::string& AConteudo) {
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

namespace {
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

void Entregar(const TSaidaBlocoM& ASaida, const std::string& ATexto, std::ostream& AOut) {
  if (ASaida.Arquivo.empty()) {
    AOut << ATexto << std::flush;
    return;
  }
  GravarArquivoSaida(ASaida.Arquivo, ATexto);
}
}  // namespace

void ConferirRegimeDaEmpresa(const TConfigBlocoM& AConfig) {
  ControleOpcaoEFD().Configurar(AConfig.CodigoEmpresa, EstabComoInteiro(AConfig.CodigoEstab), AConfig.DataInicial);
  if (ControleOpcaoEFD().GetEhOptanteEFD()) return;
  auto& lr = ControleLucroReal();
  lr.SetCodigoEmpresa(AConfig.CodigoEmpresa);
  if (lr.ApuraLucroReal(lr.ProcurarDataOpcao(AConfig.DataFinal))) return;
  auto& lp = ControleLucroPresumido();
  lp.SetCodigoEmpresa(AConfig.CodigoEmpresa);
  if (lp.ApuraLucroPresumido(lp.ProcurarDataOpcao(AConfig.DataFinal))) return;
  throw EEntradaInvalida("A empresa " + std::to_string(AConfig.CodigoEmpresa) +
                         " não tem opção de regime em vigor no período de " +
                         FormatDateTime("dd/mm/yyyy", AConfig.DataInicial) + " a " +
                         FormatDateTime("dd/mm/yyyy", AConfig.DataFinal) +
                         " (nem da EFD, nem de lucro real, nem de lucro presumido): cadastre a opção da empresa "
                         "para calcular o Bloco M");
}

void ExecutarBlocoM(const TConfigBlocoM& AConfig, const TSaidaBlocoM& ASaida, std::ostream& AOut) {
  if (ASaida.CaminhoSQL) {
    Entregar(ASaida, BlocoMCaminhoSQL(AConfig, ASaida.Formato == "json"), AOut);
    return;
  }
  ConferirRegimeDaEmpresa(AConfig);
  auto repositorio = TnFisRepositorioEFDBlocoMFabrica::CriarRepositorio(
      AConfig.CodigoEmpresa, EstabComoInteiro(AConfig.CodigoEstab), AConfig.DataInicial, ASaida.Lancamentos);
  auto mapa = repositorio->CarregarDadosBlocoM(AConfig);

  // O texto inteiro fica em memória: só depois de tudo calculado algo sai do processo.
  std::ostringstream texto;
  if (ASaida.Formato == "json") {
    std::vector<TResultadoSCPSaida> scp;
    for (const auto& s : repositorio->GetListaApuracaoSCP()) scp.push_back({s->CNPJ, s->EFD.get()});
    texto << BlocoMParaJson(*mapa, &scp).dump(2) << "\n";
  } else {
    // Sem M001 nenhum, o bloco sai sem movimento: só M001 e M990.
    auto total = mapa->empty() ? nullptr : repositorio->TotalizarBlocoM();
    EscreverBlocoM(texto, total.get());
  }
  Entregar(ASaida, texto.str(), AOut);
}
